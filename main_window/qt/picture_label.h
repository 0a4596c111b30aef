#pragma once

#include <QLabel>

namespace velmora {

// A picture that reports a click: a press and a release of the left button
// inside it, as a button would.
class PictureLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // What a press through an assistive tool does.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

}  // namespace velmora
