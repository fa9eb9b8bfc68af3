#include "support/LoaderPages.h"

#include <elf.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace lirabox {
namespace {

// A library whose loading wrote into its read-only parts (text relocations)
// holds changed copies there, which must not be dropped.
bool writtenWhileLoading(const dl_phdr_info& library) {
    for (int i = 0; i < library.dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = library.dlpi_phdr[i];
        if (header.p_type != PT_DYNAMIC) continue;
        const auto* entry = reinterpret_cast<const ElfW(Dyn)*>(library.dlpi_addr + header.p_vaddr);
        for (; entry->d_tag != DT_NULL; ++entry) {
            if (entry->d_tag == DT_TEXTREL) return true;
            if (entry->d_tag == DT_FLAGS && (entry->d_un.d_val & DF_TEXTREL) != 0) return true;
        }
    }
    return false;
}

// Runs under the loader's lock: no library listed can be unmapped meanwhile.
int releaseFirstPart(dl_phdr_info* library, std::size_t, void* total) {
    if (writtenWhileLoading(*library)) return 0;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    for (int i = 0; i < library->dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = library->dlpi_phdr[i];
        if (header.p_type != PT_LOAD || header.p_offset != 0 || header.p_flags != PF_R) continue;
        const std::uintptr_t start = library->dlpi_addr + header.p_vaddr;
        const std::uintptr_t end = (start + header.p_filesz) & ~(page - 1);
        if (start % page != 0 || end <= start) continue;
        if (madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED) == 0) {
            *static_cast<std::size_t*>(total) += end - start;
        }
    }
    return 0;
}

}  // namespace

std::size_t releaseLoaderPages() {
    std::size_t total = 0;
    dl_iterate_phdr(&releaseFirstPart, &total);
    return total;
}

}  // namespace lirabox
