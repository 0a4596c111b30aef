#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include "design/colours.h"
#include "design/fonts.h"
#include "design/twips.h"

namespace velmora {

// The shared design values in Qt's terms. Places convert at 96 dpi; Qt's own
// scaling then serves other displays.
QFont dialogFont();
QFont smallCaptionFont();

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
