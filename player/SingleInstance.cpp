#include "SingleInstance.h"

#include "support/AppPaths.h"

#include <cstdint>
#include <cstdio>

namespace lirabox {

SingleInstance::SingleInstance() : SingleInstance(executablePath(), defaultLockFolder()) {}

// FNV-1a: a stable name for one executable path.
std::string SingleInstance::lockName(const std::string& executable) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : executable) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[40];
    std::snprintf(name, sizeof name, "lirabox-%016llx.lock", static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace lirabox
