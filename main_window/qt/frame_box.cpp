#include "main_window/qt/frame_box.h"

#include <QPainter>
#include <qdrawutil.h>

namespace velmora {

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int lineTop = metrics.height() / 2;
    // Grey over light: engraved on a light face and on a dark one alike.
    qDrawShadeRect(&painter, QRect(0, lineTop, width(), height() - lineTop), palette(), true, 1);

    constexpr int captionLeft = 6;
    constexpr int captionPadding = 2;
    const QRect caption(captionLeft, 0, metrics.horizontalAdvance(title()) + 2 * captionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}

}  // namespace velmora
