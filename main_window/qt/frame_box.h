#pragma once

#include <QGroupBox>

namespace velmora {

// A frame whose engraved line runs through the middle of its caption, as a
// dialog frame has it; styles that put the caption above the line leave too
// little room for controls placed inside a short frame.
class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

    // Where the caption is drawn, centred, over the line.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace velmora
