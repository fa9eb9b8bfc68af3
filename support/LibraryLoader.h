#pragma once
// Loading one of the program's companion libraries by file name: beside the
// executable first, then through the usual library search.

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace lirabox {

// Where a library of this file name is looked for, in order: the executable's
// folder, then the plain name (found by the usual library search).
std::vector<std::string> libraryCandidates(const std::string& fileName);

// The file name of one of the program's libraries on this system:
// "Keytap" is libkeytap.so on Linux and Keytap.dll on Windows.
std::string libraryFileName(const std::string& name);

struct LoadedLibrary {
    void* handle = nullptr;  // the system's handle, or null when nothing was loaded
    // When null: why each candidate failed, in order, "; "-separated (the
    // loader's message, or "<candidate>: <the check's refusal>").
    std::string reasons;
};

// Why an opened library cannot be used (for instance "no function X"), or
// empty text when it can.
using LibraryCheck = std::function<std::string(void* handle)>;

// Opens the candidates in order; the first that loads and passes the check
// stays open and is returned, the others are closed again.
LoadedLibrary loadFirstLibrary(const std::vector<std::string>& candidates, const LibraryCheck& check);

// Opens one library file (dlopen, LoadLibrary); null, with the system's
// reason in whyNot, when it cannot be loaded.
void* openLibrary(const std::string& path, std::string& whyNot);

// Closes a library loadFirstLibrary or openLibrary returned.
void closeLibrary(void* handle);

// The address a loaded library exports under this name, or null.
void* librarySymbol(void* handle, const char* name);

// A function of a loaded library, or null when it does not export the name.
template <class Function>
Function libraryFunction(void* handle, const char* name) {
    void* address = librarySymbol(handle, name);
    Function function = nullptr;
    if (address != nullptr) std::memcpy(&function, &address, sizeof function);
    return function;
}

}  // namespace lirabox
