#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <vector>

#include "design/colours.h"
#include "design/fonts.h"
#include "design/twips.h"

namespace velmora {

// The shared design values in Qt's terms. Places convert at 96 dpi; Qt's own
// scaling then serves other displays.
QFont dialogFont();
QFont smallCaptionFont();

// A caption and the width its box has for it, in pixels.
struct CaptionRoom {
    QString text;
    int width;
};

// The font unchanged where every caption fits its room. Where a wider face
// stands in for the designed one, it is condensed (the font's stretch) or,
// failing that, made smaller, just enough for every caption to fit.
QFont fitCaptions(const QFont& font, const std::vector<CaptionRoom>& captions);

constexpr QRect fromTwips(design::TwipsRect r) {
    const design::PixelRect p = design::ToPixels(r);
    return {p.left, p.top, p.width, p.height};
}

inline QColor toQColor(design::Rgb c) { return {c.red, c.green, c.blue}; }
inline design::Rgb toRgb(const QColor& c) {
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

}  // namespace velmora
