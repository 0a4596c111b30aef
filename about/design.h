#pragma once

#include <QFont>
#include <QRect>

namespace velmora {

// What both windows are designed in: a compact dialog font, and places and
// sizes in twips, 15 to a pixel at 96 dots per inch. Qt's own scaling then
// serves other displays.
QFont dialogFont();

inline constexpr int twipsPerPixel = 15;

constexpr QRect fromTwips(int left, int top, int width, int height) {
    return {left / twipsPerPixel, top / twipsPerPixel, width / twipsPerPixel,
            height / twipsPerPixel};
}

}  // namespace velmora
