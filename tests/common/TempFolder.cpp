#include "TempFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace lirabox::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lirabox-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder from " + pattern);
    }
    mPath = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

}  // namespace lirabox::test
