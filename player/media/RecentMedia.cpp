#include "RecentMedia.h"

#include <algorithm>

namespace lirabox::media {

void RecentMedia::add(const std::string& sourceURL) {
    if (sourceURL.empty() || mCapacity == 0) return;
    std::erase(mEntries, sourceURL);
    mEntries.insert(mEntries.begin(), sourceURL);
    if (mEntries.size() > mCapacity) mEntries.resize(mCapacity);
}

}  // namespace lirabox::media
