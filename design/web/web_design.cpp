#include "design/web/web_design.h"

#include <cstdio>

namespace velmora::design::web {

namespace {

// Shortest decimal text of a designed pixel count: 88, 8.5, 0.6667.
std::string Pixels(double pixels) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4g", pixels);
    return buffer;
}

}  // namespace

std::string CssColour(Rgb colour) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return buffer;
}

std::string CssLength(int twips) {
    return "calc(var(--u)*" + Pixels(static_cast<double>(twips) / TwipsPerPixel) + ")";
}

std::string CssPlace(TwipsRect place) {
    return "left:" + CssLength(place.left) + ";top:" + CssLength(place.top) +
           ";width:" + CssLength(place.width) + ";height:" + CssLength(place.height);
}

std::string CssPixels(double points) { return Pixels(points * StandardDpi / 72.0); }

std::string Html(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': result += "&amp;"; break;
        case '<': result += "&lt;"; break;
        case '>': result += "&gt;"; break;
        case '"': result += "&quot;"; break;
        default: result += c;
        }
    }
    return result;
}

}  // namespace velmora::design::web
