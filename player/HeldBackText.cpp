#include "HeldBackText.h"

#include <cstdio>

namespace lirabox {
namespace {

constexpr auto kNonModifierWait = std::chrono::seconds(1);
constexpr auto kGiveUp = std::chrono::seconds(10);

}  // namespace

void HeldBackText::add(const std::string& text) {
    if (mText.empty()) mWaitingSince = Clock::now();
    mText += text;
}

std::optional<std::string> HeldBackText::take(KeysDown down, bool ownWindowInFront) {
    if (mText.empty()) return std::nullopt;
    const auto waited = Clock::now() - mWaitingSince;
    if (!ownWindowInFront && (!down.any || (!down.modifier && waited >= kNonModifierWait))) {
        std::string text;
        text.swap(mText);
        return text;
    }
    if (waited >= kGiveUp) {
        notTyped(ownWindowInFront ? "the focus stayed in Lirabox for ten seconds"
                                  : "modifier keys were held down for ten seconds");
        mText.clear();
    }
    return std::nullopt;
}

void HeldBackText::notTyped(const char* why) {
    std::fprintf(stderr, "lirabox: the time stamp was not typed (%s)\n", why);
    std::fflush(stderr);
}

}  // namespace lirabox
