#pragma once
// File helpers for the support tests: whole-file text, and files or folders
// that not even root may change.

#include <filesystem>
#include <string>

namespace lirabox::test {

std::string readText(const std::filesystem::path& path);
void writeText(const std::filesystem::path& path, const std::string& text);

// Names in `folder`, sorted (hidden ones included).
std::string listFolder(const std::filesystem::path& folder);

// Sets the immutable attribute (as chattr +i does) on a file or folder for the
// lifetime of the object (Linux only: posix/Immutable.cpp). active() tells whether the file system allowed it;
// where it does not, tests use a path under a plain file instead.
class Immutable {
public:
    explicit Immutable(const std::filesystem::path& path);
    ~Immutable();
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool active() const { return mActive; }

private:
    std::filesystem::path mPath;
    bool mActive = false;
};

// A path no write can create: a name under `plainFile`, which is made a plain file.
std::string pathUnderPlainFile(const std::filesystem::path& plainFile);

}  // namespace lirabox::test
