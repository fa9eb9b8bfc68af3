#include "LibraryLoader.h"

#include <windows.h>

namespace lirabox {
namespace {

std::string systemMessage(DWORD error) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(error);
    ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

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
