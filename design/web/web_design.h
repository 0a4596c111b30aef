#pragma once

#include <string>
#include <string_view>

#include "design/colours.h"
#include "design/fonts.h"
#include "design/twips.h"

// The designs in CSS terms. Every length is a multiple of --u, one designed
// pixel (15 twips), which the page's style sheet sets for the reader's font
// size and screen. Places are written into the style sheet as custom
// properties, never as style attributes: the page's security policy allows
// no inline style, and the phone arrangement overrides them from there.
namespace velmora::design::web {

// "#rrggbb".
std::string CssColour(Rgb colour);

// A field's colour as its data-back attribute names it: "ffbdc5".
std::string BackColourName(Rgb background);

// The style sheet's rule for a field of that colour, with the text that
// reads on it: [data-back="ffbdc5"]{...}.
std::string CssBackColourRule(Rgb background);

// A place as --l, --t, --w and --h in designed pixels: 88 for 1320 twips.
std::string CssPlaceVariables(TwipsRect place);

// A cell of the phone arrangement's grid as --row, --col and --span.
std::string CssCellVariables(int row, int column, int columnSpan);

// A font's size in designed pixels, a bare number to multiply --u with:
// points at 96 dots per inch.
std::string CssPixels(double points);

// A rule for the element with that id: #Text3\(0\){declarations}.
std::string CssRule(std::string_view id, std::string_view declarations);

// A list's accessible name: a locked one says so in its name, as no engine
// passes a <select>'s aria-readonly to every screen reader.
std::string ListName(std::string_view name, bool locked);

// Text escaped for HTML content and attribute values.
std::string Html(std::string_view text);

}  // namespace velmora::design::web
