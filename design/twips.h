#pragma once

namespace velmora::design {

// Both windows are laid out in twips: 1440 to the inch, so 15 to a pixel on a
// 96 dots-per-inch display. Other displays convert with their own resolution.
inline constexpr int TwipsPerInch = 1440;
inline constexpr int StandardDpi = 96;
inline constexpr int TwipsPerPixel = TwipsPerInch / StandardDpi;

// Nearest pixel; exact for every designed value at 96 dpi.
constexpr int TwipsToPixels(int twips, int dpi = StandardDpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = TwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / TwipsPerInch
                                        : -((-scaled + half) / TwipsPerInch));
}

// A place and size in twips, within the container's client area.
struct TwipsRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, width, height;
};

// Edges convert on their own, so neighbours that touch in twips still touch.
constexpr PixelRect ToPixels(TwipsRect r, int dpi = StandardDpi) {
    const int left = TwipsToPixels(r.left, dpi);
    const int top = TwipsToPixels(r.top, dpi);
    return {left, top, TwipsToPixels(r.left + r.width, dpi) - left,
            TwipsToPixels(r.top + r.height, dpi) - top};
}

}  // namespace velmora::design
