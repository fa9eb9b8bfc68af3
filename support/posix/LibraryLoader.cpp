#include "support/LibraryLoader.h"

#include <dlfcn.h>

namespace lirabox {

std::string libraryFileName(const std::string& name) {
    std::string lower;
    for (const char c : name) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return "lib" + lower + ".so";
}

void* openLibrary(const std::string& path, std::string& whyNot) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = ::dlerror();
        whyNot = error != nullptr ? error : path + ": cannot be loaded";
    }
    return handle;
}

void closeLibrary(void* handle) { ::dlclose(handle); }

void* librarySymbol(void* handle, const char* name) { return ::dlsym(handle, name); }

}  // namespace lirabox
