#pragma once
// A fresh folder under the system's temporary directory, removed with
// everything in it when the object goes away.

#include <filesystem>
#include <string>

namespace lirabox::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return mPath; }
    // path() / name, as a path and as text.
    std::filesystem::path file(const std::string& name) const { return mPath / name; }
    std::string fileText(const std::string& name) const { return (mPath / name).string(); }

private:
    std::filesystem::path mPath;
};

}  // namespace lirabox::test
