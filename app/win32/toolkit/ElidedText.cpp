#include "ElidedText.h"

namespace lirabox::win32 {
namespace {

constexpr wchar_t kEllipsis = L'\u2026';

bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The first `count` UTF-16 units, one fewer where that would cut a surrogate pair.
std::size_t headLength(const std::wstring& text, std::size_t count) {
    return count > 0 && count < text.size() && isLowSurrogate(text[count]) ? count - 1 : count;
}

// Where the last `count` units start, one later where that would cut a surrogate pair.
std::size_t tailStart(const std::wstring& text, std::size_t count) {
    const std::size_t start = text.size() - count;
    return start < text.size() && isLowSurrogate(text[start]) ? start + 1 : start;
}

}  // namespace

std::wstring elidedLine(HWND control, const std::wstring& lead, const std::wstring& text) {
    RECT client {};
    ::GetClientRect(control, &client);
    const HDC dc = ::GetDC(control);
    const HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    const auto fits = [&](const std::wstring& line) {
        SIZE size {};
        ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        return size.cx <= client.right - client.left;
    };
    std::wstring line = lead + text;
    if (!fits(line)) {
        // The most units of the text, split between its two ends, that fit around the ellipsis.
        std::size_t low = 0, high = text.size();
        const auto elided = [&](std::size_t kept) {
            const std::size_t head = headLength(text, (kept + 1) / 2);
            return lead + text.substr(0, head) + kEllipsis + text.substr(tailStart(text, kept / 2));
        };
        while (low < high) {
            const std::size_t middle = (low + high + 1) / 2;
            if (fits(elided(middle))) {
                low = middle;
            } else {
                high = middle - 1;
            }
        }
        line = elided(low);
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return line;
}

}  // namespace lirabox::win32
