#pragma once

#include <QComboBox>

namespace velmora {

// A drop-down list that can be locked: the user can no longer change the
// selection by mouse, keyboard or wheel, while the code still can and the list
// keeps its place in the focus order. Its field is painted in the palette's
// base colour, so a result list shows the same colour as a result text box.
class LockableComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void setLocked(bool locked);
    bool isLocked() const { return m_locked; }

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool m_locked = false;
};

}  // namespace velmora
