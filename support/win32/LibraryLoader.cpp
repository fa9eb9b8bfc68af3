#include "support/LibraryLoader.h"

#include "SystemMessage.h"

#include <windows.h>

namespace lirabox {

std::string libraryFileName(const std::string& name) { return name + ".dll"; }

void* openLibrary(const std::string& path, std::string& whyNot) {
    const HMODULE module = ::LoadLibraryA(path.c_str());
    if (module == nullptr) whyNot = path + ": " + systemMessage(::GetLastError());
    return reinterpret_cast<void*>(module);
}

void closeLibrary(void* handle) { ::FreeLibrary(static_cast<HMODULE>(handle)); }

void* librarySymbol(void* handle, const char* name) {
    const FARPROC function = ::GetProcAddress(static_cast<HMODULE>(handle), name);
    void* address = nullptr;
    static_assert(sizeof address == sizeof function);
    std::memcpy(&address, &function, sizeof address);
    return address;
}

}  // namespace lirabox
