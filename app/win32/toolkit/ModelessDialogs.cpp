#include "ModelessDialogs.h"

#include <algorithm>
#include <vector>

namespace lirabox::win32 {
namespace {

// Windows are used on the user-interface thread only.
std::vector<HWND>& dialogs() {
    static std::vector<HWND> windows;
    return windows;
}

}  // namespace

void addModelessDialog(HWND dialog) {
    if (std::find(dialogs().begin(), dialogs().end(), dialog) == dialogs().end()) dialogs().push_back(dialog);
}

void removeModelessDialog(HWND dialog) { std::erase(dialogs(), dialog); }

bool isModelessDialogMessage(MSG& message) {
    // A copy: what the dialog runs may add or remove one.
    const std::vector<HWND> windows = dialogs();
    for (HWND dialog : windows) {
        if ((message.hwnd == dialog || ::IsChild(dialog, message.hwnd)) && ::IsDialogMessageW(dialog, &message)) {
            return true;
        }
    }
    return false;
}

}  // namespace lirabox::win32
