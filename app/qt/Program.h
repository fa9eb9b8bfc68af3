#pragma once
// The player's program: everything `lirabox` does but hand a command to the
// running copy. Built as the library liblirabox.so, which the small `lirabox`
// executable (main.cpp) loads, so that a `lirabox --command` process never
// loads Qt or libmpv. Arguments: an optional recording, optionally followed by
// "/t=" and the second to start from; --verbose first logs every step skipped
// after a failure; --help, --version. Returns the exit status; call once, on
// the main thread.

extern "C" int lirabox_program_main(int argc, char** argv);
