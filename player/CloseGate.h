#pragma once
// Whether the main window may close now. While a load waits for a slow file
// the window holds its closing; a close asked for meanwhile is remembered and
// carried out once the hold ends. Plain state, used on the UI thread only.

#include <utility>

namespace lirabox {

class CloseGate {
public:
    // Asks to close: true when the close may go ahead now, false while closing
    // is held (the request is remembered).
    bool requestClose() noexcept {
        if (mHeld) mCloseWhenReleased = true;
        return !mHeld;
    }
    // Holds or releases closing. True when a close asked for during the hold
    // is to be carried out now.
    bool hold(bool held) noexcept {
        mHeld = held;
        return !held && std::exchange(mCloseWhenReleased, false);
    }
    bool held() const noexcept { return mHeld; }
    // Whether a close has been asked for during the hold.
    bool closeRequested() const noexcept { return mCloseWhenReleased; }

private:
    bool mHeld = false;
    bool mCloseWhenReleased = false;
};

}  // namespace lirabox
