#include "design/colours.h"

#include <algorithm>
#include <cmath>

namespace velmora::design {

namespace {

double linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double Luminance(Rgb c) {
    return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

double ContrastRatio(Rgb a, Rgb b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb ReadableTextOn(Rgb background) {
    constexpr Rgb black{0, 0, 0};
    constexpr Rgb white{255, 255, 255};
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

Rgb DesignedOrThemeText(Rgb designed, Rgb background, Rgb themeText) {
    return ContrastRatio(designed, background) >= ReadableContrast ? designed : themeText;
}

}  // namespace velmora::design
