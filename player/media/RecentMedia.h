#pragma once
// The engine's own small library: the recordings opened most recently, newest
// first, each once, at most `capacity` of them. Kept in memory only.

#include <cstddef>
#include <string>
#include <vector>

namespace lirabox::media {

class RecentMedia {
public:
    explicit RecentMedia(std::size_t capacity = 20) : mCapacity(capacity) {}

    // Puts `sourceURL` first; an entry already there moves up. Empty text is ignored.
    void add(const std::string& sourceURL);
    const std::vector<std::string>& entries() const noexcept { return mEntries; }

private:
    std::size_t mCapacity;
    std::vector<std::string> mEntries;
};

}  // namespace lirabox::media
