#include "TempFolder.h"

#include <random>
#include <stdexcept>
#include <system_error>

namespace lirabox::test {

TempFolder::TempFolder() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device seed;
    std::mt19937_64 random(seed());
    // create_directory is false, without an error, when the name is taken.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = base / ("lirabox-test-" + std::to_string(random() % 1000000000ull));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            mPath = candidate;
            return;
        }
        if (error) throw std::runtime_error("cannot create a temporary folder in " + base.string());
    }
    throw std::runtime_error("no free temporary folder name in " + base.string());
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

}  // namespace lirabox::test
