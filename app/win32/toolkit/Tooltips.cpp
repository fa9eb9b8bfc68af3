#include "Tooltips.h"

#include <commctrl.h>

namespace lirabox::win32 {

HWND createTooltipWindow(HINSTANCE instance) {
    return ::CreateWindowExW(WS_EX_TOPMOST,
                             TOOLTIPS_CLASSW,
                             nullptr,
                             WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT,
                             CW_USEDEFAULT,
                             CW_USEDEFAULT,
                             CW_USEDEFAULT,
                             nullptr,
                             nullptr,
                             instance,
                             nullptr);
}

}  // namespace lirabox::win32
