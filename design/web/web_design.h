#pragma once

#include <string>
#include <string_view>

#include "design/colours.h"
#include "design/fonts.h"
#include "design/twips.h"

// The designs in CSS terms. The page scales as a whole: every length is a
// multiple of --u, one designed pixel (15 twips), which the page's style sets
// from the size of the screen.
namespace velmora::design::web {

// "#rrggbb".
std::string CssColour(Rgb colour);

// calc(var(--u) * 88) for 1320 twips; whole pixels come out whole.
std::string CssLength(int twips);

// left, top, width and height of a place, as a style attribute's declarations.
std::string CssPlace(TwipsRect place);

// A font's size in designed pixels, a bare number to multiply --u with:
// points at 96 dots per inch.
std::string CssPixels(double points);

// Text escaped for HTML content and attribute values.
std::string Html(std::string_view text);

}  // namespace velmora::design::web
