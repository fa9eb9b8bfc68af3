#include "TempFolder.h"

#include <random>
#include <stdexcept>
#include <system_error>

namespace lirabox::test {

TempFolder::TempFolder() {
    // A fresh name each time: create_directory is false for one that exists.
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = base / ("lirabox-test-" + std::to_string(random()));
        std::error_code failure;
        if (std::filesystem::create_directory(candidate, failure)) {
            std::filesystem::permissions(candidate, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace, failure);
            mPath = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder in " + base.string());
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

}  // namespace lirabox::test
