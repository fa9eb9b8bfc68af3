#include "RecentMedia.h"

#include <algorithm>

namespace lirabox::media {

void RecentMedia::add(const std::string& sourceURL) {
    if (sourceURL.empty() || capacity_ == 0) return;
    std::erase(entries_, sourceURL);
    entries_.insert(entries_.begin(), sourceURL);
    if (entries_.size() > capacity_) entries_.resize(capacity_);
}

}  // namespace lirabox::media
