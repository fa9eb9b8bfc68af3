#include "SliderArt.h"

#include <algorithm>
#include <array>

#include "player/SliderLook.h"

namespace lirabox::win32::art {
namespace {

constexpr COLORREF colour(slider_look::Colour colour) { return RGB(colour.red, colour.green, colour.blue); }

constexpr COLORREF kGrooveDark = colour(slider_look::kGrooveDark);
constexpr COLORREF kGrooveLight = colour(slider_look::kGrooveLight);
constexpr COLORREF kAccent = colour(slider_look::kAccent);
constexpr COLORREF kArrowEdge = colour(slider_look::kArrowEdge);
constexpr COLORREF kRepeatLine = colour(slider_look::kRepeatLine);

COLORREF blend(COLORREF from, COLORREF to, double fraction) {
    const auto mix = [fraction](int a, int b) { return static_cast<BYTE>(a + (b - a) * fraction + 0.5); };
    return RGB(
        mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)), mix(GetBValue(from), GetBValue(to)));
}

void fill(HDC context, const RECT& box, COLORREF colour) {
    ::SetBkColor(context, colour);
    ::ExtTextOutW(context, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
}

// The outline pen and the filling brush for the time of one drawing.
class Pencil {
public:
    Pencil(HDC context, COLORREF edge, HBRUSH brush)
        : mContext(context), mPen(::CreatePen(PS_SOLID, 1, edge)), mOldPen(::SelectObject(context, mPen)),
          mOldBrush(::SelectObject(context, brush)) {}
    ~Pencil() {
        ::SelectObject(mContext, mOldPen);
        ::SelectObject(mContext, mOldBrush);
        ::DeleteObject(mPen);
    }
    Pencil(const Pencil&) = delete;
    Pencil& operator=(const Pencil&) = delete;

private:
    HDC mContext;
    HPEN mPen;
    HGDIOBJ mOldPen;
    HGDIOBJ mOldBrush;
};

}  // namespace

void paintSeekTrack(HDC context, const RECT& area) {
    // A sunken groove across the middle half of the bar, darker at the top.
    const int height = area.bottom - area.top;
    const int grooveHeight =
        std::max(slider_look::kGrooveMinHeight, static_cast<int>(height * slider_look::kGrooveHeightShare));
    const int top = area.top + (height - grooveHeight) / 2;
    const RECT groove {area.left + 1, top, area.right - 1, top + grooveHeight};
    HRGN shape =
        ::CreateRoundRectRgn(groove.left, groove.top, groove.right + 1, groove.bottom + 1, grooveHeight, grooveHeight);
    ::SelectClipRgn(context, shape);
    for (int y = groove.top; y < groove.bottom; ++y) {
        const double fraction = grooveHeight > 1 ? double(y - groove.top) / (grooveHeight - 1) : 0.0;
        fill(context, RECT {groove.left, y, groove.right, y + 1}, blend(kGrooveDark, kGrooveLight, fraction));
    }
    ::SelectClipRgn(context, nullptr);
    HBRUSH edge = ::CreateSolidBrush(kGrooveDark);
    ::FrameRgn(context, shape, edge, 1, 1);
    ::DeleteObject(edge);
    ::DeleteObject(shape);
}

void paintVolumeTrack(HDC context, const RECT& area) {
    // A wedge growing to the right, louder towards the right end.
    const int left = area.left + 1;
    const int right = area.right - 1;
    const int bottom = area.bottom - 2;
    const int top = area.top + 2;
    const int span = std::max(1, right - left);
    for (int x = left; x < right; ++x) {
        const double fraction = double(x - left) / span;
        const int columnTop = bottom - static_cast<int>((bottom - top) * fraction + 0.5);
        fill(context, RECT {x, columnTop, x + 1, bottom}, blend(kGrooveLight, kAccent, fraction));
    }
    const std::array<POINT, 3> wedge {{{left, bottom}, {right - 1, top}, {right - 1, bottom}}};
    const Pencil pencil(context, kGrooveDark, static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    ::Polygon(context, wedge.data(), static_cast<int>(wedge.size()));
}

void paintArrow(HDC context, const RECT& area) {
    // A marker pointing down.
    const int middle = (area.left + area.right - 1) / 2;
    const std::array<POINT, 3> marker {{{area.left, area.top}, {area.right - 1, area.top}, {middle, area.bottom - 1}}};
    HBRUSH inside = ::CreateSolidBrush(kAccent);
    {
        const Pencil pencil(context, kArrowEdge, inside);
        ::Polygon(context, marker.data(), static_cast<int>(marker.size()));
    }
    ::DeleteObject(inside);
}

void paintRepeatLine(HDC context, const RECT& bar, int x1, int x2) {
    const int thickness = std::max(1, static_cast<int>((bar.bottom - bar.top) * slider_look::kRepeatLineShare + 0.5));
    fill(context, RECT {std::min(x1, x2), bar.bottom - thickness, std::max(x1, x2), bar.bottom}, kRepeatLine);
}

void paintEnvelope(HDC context, const RECT& bar, const std::vector<float>& levels) {
    const double columnWidth = static_cast<double>(bar.right - bar.left) / static_cast<double>(levels.size());
    const int barLeft = static_cast<int>(bar.left);
    const int barHeight = static_cast<int>(bar.bottom - bar.top);
    for (std::size_t column = 0; column < levels.size(); ++column) {
        if (levels[column] < 0.0f) continue;  // not measured yet
        const slider_look::EnvelopeLine line = slider_look::envelopeLine(levels[column]);
        const int height = std::max(1, static_cast<int>(barHeight * line.height + 0.5));
        const int left = barLeft + static_cast<int>(static_cast<double>(column) * columnWidth);
        const int right = std::max(left + 1, barLeft + static_cast<int>(static_cast<double>(column + 1) * columnWidth));
        const int top = static_cast<int>(bar.top) + (barHeight - height) / 2;
        fill(context, RECT {left, top, right, top + height}, colour(line.colour));
    }
}

}  // namespace lirabox::win32::art
