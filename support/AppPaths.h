#pragma once
// Where the program lives and where its settings go.
//
// The program folder is the directory of the running executable; when that is
// not writable, ${XDG_CONFIG_HOME:-$HOME/.config}/lirabox/ stands in for it,
// and the INI files it lacks are first copied there from the program's folder.
// On Linux a program installed under a system prefix (SystemProgramFolder.h)
// never writes beside itself, even when it could (as root): its settings are
// always in the configuration folder, and nothing is copied from beside it.
// On Windows the stand-in is %APPDATA%\lirabox, also for a program under
// "Program Files" that could write beside itself (as administrator).
// The "Windows directory" of the settings layout is ${XDG_CONFIG_HOME:-$HOME/.config}.
// Folder texts returned here never end in "/" unless they are "/" itself.

#include <string>

namespace lirabox {

// Full path of the running executable ("AppName").
std::string executablePath();

// The program folder as described above (created when it is the fallback).
std::string programFolder();

// Points the program folder somewhere else for the rest of the process
// (tests use a temporary folder; an empty text goes back to the default).
void setProgramFolder(const std::string& folder);

// ${XDG_CONFIG_HOME:-$HOME/.config}, created when missing.
std::string windowsDirectory();

}  // namespace lirabox
