#include "HeldBackText.h"

#include <cstdio>

namespace lirabox {
namespace {

constexpr auto kGiveUp = std::chrono::seconds(10);

constexpr const char* kFocusMoved = "the focus moved to another window";

std::optional<std::uintptr_t> targetAt(const DesktopLook& look) {
    if (look.ownWindowInFront) return std::nullopt;
    return look.frontWindow;
}

}  // namespace

void HeldBackText::add(const std::string& text, const DesktopLook& atCommand) {
    if (!mText.empty() && mTarget != targetAt(atCommand)) drop(kFocusMoved);
    if (mText.empty()) {
        mWaitingSince = Clock::now();
        mTarget = targetAt(atCommand);
    }
    mText += text;
}

std::optional<std::string> HeldBackText::take(const DesktopLook& now) {
    if (mText.empty()) return std::nullopt;
    if (mTarget && (now.ownWindowInFront || now.frontWindow != *mTarget)) {
        drop(kFocusMoved);
        return std::nullopt;
    }
    if (!now.ownWindowInFront && !now.modifierDown) {
        std::string text;
        text.swap(mText);
        return text;
    }
    if (Clock::now() - mWaitingSince >= kGiveUp) {
        drop(now.ownWindowInFront ? "the focus stayed in Lirabox for ten seconds"
                                  : "modifier keys were held down for ten seconds");
    }
    return std::nullopt;
}

void HeldBackText::drop(const char* why) {
    notTyped(why);
    mText.clear();
}

void HeldBackText::notTyped(const char* why) {
    std::fprintf(stderr, "lirabox: the time stamp was not typed (%s)\n", why);
    std::fflush(stderr);
}

}  // namespace lirabox
