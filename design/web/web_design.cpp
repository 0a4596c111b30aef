#include "design/web/web_design.h"

#include <cstdio>
#include <string>

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

std::string BackColourName(Rgb background) { return CssColour(background).substr(1); }

std::string CssBackColourRule(Rgb background) {
    return "[data-back=\"" + BackColourName(background) +
           "\"]{background-color:" + CssColour(background) +
           ";color:" + CssColour(ReadableTextOn(background)) + "}\n";
}

std::string CssPlaceVariables(TwipsRect place) {
    const auto pixels = [](int twips) {
        return Pixels(static_cast<double>(twips) / TwipsPerPixel);
    };
    return "--l:" + pixels(place.left) + ";--t:" + pixels(place.top) +
           ";--w:" + pixels(place.width) + ";--h:" + pixels(place.height);
}

std::string CssCellVariables(int row, int column, int columnSpan) {
    return "--row:" + std::to_string(row) + ";--col:" + std::to_string(column) +
           ";--span:" + std::to_string(columnSpan);
}

std::string CssPixels(double points) { return Pixels(points * StandardDpi / 72.0); }

std::string CssRule(std::string_view id, std::string_view declarations) {
    std::string rule = "#";
    for (const char c : id) {
        if (c == '(' || c == ')')
            rule += '\\';
        rule += c;
    }
    return rule + "{" + std::string(declarations) + "}\n";
}

std::string Html(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            result += "&amp;";
            break;
        case '<':
            result += "&lt;";
            break;
        case '>':
            result += "&gt;";
            break;
        case '"':
            result += "&quot;";
            break;
        default:
            result += c;
        }
    }
    return result;
}

std::string ListName(std::string_view name, bool locked) {
    return std::string(name) + (locked ? ", read only" : "");
}

}  // namespace velmora::design::web
