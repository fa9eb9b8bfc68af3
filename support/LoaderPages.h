#pragma once
// The pages of the loaded libraries that only the dynamic loader reads: each
// library's first, read-only part (its headers, symbol and version tables,
// relocation records). Loading and relocating some 240 libraries (Qt, libmpv
// and theirs) touches all of them; afterwards only a later symbol lookup
// (a library or plug-in loaded later) reads them again.
//
// releaseLoaderPages() drops them from the process's resident memory. Their
// content stays in the system's file cache, so a later read costs a minor
// page fault and nothing is lost: the pages are never written (libraries
// whose loading writes into them, text relocations, are left alone).
// Safe from any thread at any time, while other threads load libraries too;
// the program calls it once its start-up is over. Linux only (the Windows
// front end does not call it). Returns the bytes of the ranges released.

#include <cstddef>

namespace lirabox {

std::size_t releaseLoaderPages();

}  // namespace lirabox
