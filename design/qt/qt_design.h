#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
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

// A caption and the room its box has for it, in pixels; wrapping captions
// break into lines at the box's width.
struct CaptionRoom {
    QString text;
    int width;
    int height;
    bool wraps = false;
};

// The font unchanged where every caption fits its room: its advance the
// width, its ink the height. Where a wider or taller face stands in for the
// designed one, it is condensed (the font's stretch) or, failing that, made
// smaller, just enough for every caption to fit.
QFont fitCaptions(const QFont& font, const std::vector<CaptionRoom>& captions);

// How far a caption drawn from the top of its room must move down (or up,
// negative) for all its ink to show. A face whose line is taller than the
// box, or whose ascent is less than its capitals rise (as where a face asks
// for its typographic metrics), would otherwise lose a row at the bottom or
// at the top.
int captionDrop(const QFont& font, const CaptionRoom& caption);

// Places a top-aligned label's text by its drop, within its designed box.
void placeCaption(QLabel* label);

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
