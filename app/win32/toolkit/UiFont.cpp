#include "UiFont.h"

#include <array>

namespace lirabox::win32 {
namespace {

std::wstring firstFaceInstalled() {
    static const std::array<const wchar_t*, 4> faces {
        L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic", L"Noto Sans CJK JP"};
    HDC screen = ::GetDC(nullptr);
    std::wstring found = L"MS Shell Dlg 2";
    for (const wchar_t* face : faces) {
        LOGFONTW wanted {};
        wanted.lfCharSet = DEFAULT_CHARSET;
        ::lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
        const auto seen = [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM) -> int { return 0; };
        if (::EnumFontFamiliesExW(screen, &wanted, seen, 0, 0) == 0) {
            found = face;
            break;
        }
    }
    ::ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

// Looked up once: each one-line window and dialog asks again.
std::wstring uiFontFace() {
    static const std::wstring face = firstFaceInstalled();
    return face;
}

HFONT createUiFont(const std::wstring& face, int decipoints, UINT dpi) {
    return ::CreateFontW(-MulDiv(decipoints, static_cast<int>(dpi), 720),
                         0,
                         0,
                         0,
                         FW_NORMAL,
                         FALSE,
                         FALSE,
                         FALSE,
                         DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS,
                         CLEARTYPE_QUALITY,
                         DEFAULT_PITCH,
                         face.c_str());
}

}  // namespace lirabox::win32
