#pragma once

#include <cstdint>

namespace velmora::design {

struct Rgb {
    std::uint8_t red, green, blue;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The relative luminance of a colour, 0 for black to 1 for white.
double Luminance(Rgb c);

// How well two colours read against each other, 1 (same) to 21 (black on white).
double ContrastRatio(Rgb a, Rgb b);

// What body text needs to be readable.
inline constexpr double ReadableContrast = 4.5;

// Whichever of black and white reads better on the background.
Rgb ReadableTextOn(Rgb background);

// The colour the design asks for where it reads on the background, else the
// theme's own text colour.
Rgb DesignedOrThemeText(Rgb designed, Rgb background, Rgb themeText);

}  // namespace velmora::design
