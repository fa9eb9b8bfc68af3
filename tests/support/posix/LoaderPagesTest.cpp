// The loader's pages of the loaded libraries leave the process's resident
// memory, and a later symbol lookup reads them back unchanged.

#include "support/LoaderPages.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <fstream>
#include <string>

namespace lirabox {
namespace {

long residentKiB() {
    std::ifstream rollup("/proc/self/smaps_rollup");
    std::string name;
    long value = 0;
    while (rollup >> name) {
        if (name == "Rss:" && rollup >> value) return value;
        rollup.ignore(1 << 10, '\n');
    }
    return -1;
}

TEST(LoaderPages, LeaveTheResidentMemoryAndLaterLookupsStillFindTheirSymbols) {
    const long before = residentKiB();
    EXPECT_GT(releaseLoaderPages(), 64u * 1024);  // libc, libstdc++ and gtest at the least
    EXPECT_LT(residentKiB(), before);

    void* math = dlopen("libm.so.6", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(math, nullptr) << dlerror();
    using Cosine = double (*)(double);
    const auto cosine = reinterpret_cast<Cosine>(dlsym(math, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(dlsym(math, "NoSuchFunction"), nullptr);
    dlclose(math);
    // Released twice: nothing is lost either.
    releaseLoaderPages();
    EXPECT_EQ(std::to_string(42), "42");
}

}  // namespace
}  // namespace lirabox
