#include "main_window/qt/frame_box.h"

#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

#include "design/qt/qt_design.h"

namespace velmora {

QRect FrameBox::captionRect() const {
    constexpr int captionLeft = 6;
    constexpr int captionPadding = 2;
    const QFontMetrics metrics = fontMetrics();
    const int height = metrics.height();
    const int drop = captionDrop(font(), {title(), 1 << 16, height});
    return {captionLeft, std::max(0, drop), metrics.horizontalAdvance(title()) + 2 * captionPadding,
            height};
}

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int lineTop = captionRect().top() + fontMetrics().height() / 2;
    // Grey over light: engraved on a light face and on a dark one alike.
    qDrawShadeRect(&painter, QRect(0, lineTop, width(), height() - lineTop), palette(), true, 1);

    const QRect caption = captionRect();
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    // Its ink may reach past its line, as it may past a label's.
    painter.drawText(caption, Qt::AlignCenter | Qt::TextDontClip, title());
}

}  // namespace velmora
