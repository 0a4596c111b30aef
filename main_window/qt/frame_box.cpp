#include "main_window/qt/frame_box.h"

#include <QPainter>
#include <qdrawutil.h>

namespace velmora {

QRect FrameBox::captionRect() const {
    constexpr int captionLeft = 6;
    constexpr int captionPadding = 2;
    const QFontMetrics metrics = fontMetrics();
    return {captionLeft, 0, metrics.horizontalAdvance(title()) + 2 * captionPadding,
            metrics.height()};
}

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int lineTop = fontMetrics().height() / 2;
    // Grey over light: engraved on a light face and on a dark one alike.
    qDrawShadeRect(&painter, QRect(0, lineTop, width(), height() - lineTop), palette(), true, 1);

    const QRect caption = captionRect();
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}

}  // namespace velmora
