#pragma once

#include <QComboBox>

namespace velmora {

// A drop-down list that can be locked: the user can no longer change the
// selection by mouse, keyboard, wheel or an assistive tool, while the
// calculation still can and the list keeps its place in the focus order.
// clicked() reports every selection that stays, nested inside the change.
// Its field is painted in the palette's base colour, so a result list shows
// the same colour as a result text box.
class LockableComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit LockableComboBox(QWidget* parent = nullptr);

    void setLocked(bool locked);
    bool isLocked() const { return m_locked; }
    // The calculation's choice: raises clicked() only when the index moves.
    void writeIndex(int index);

    void showPopup() override;

    // Where a screen reader is told the caret of its unit's text stands.
    // Screen readers read a line again only when its caret moves, so it steps
    // between the first two places each time the list has news: a new unit,
    // or a key it refused.
    int caret() const { return m_caret; }
    // Its unit as a screen reader hears it: with "read only" while locked,
    // as their speech for a list has no read-only state.
    QString spokenUnit() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void onIndexChanged(int index);
    void tell();

    Qt::FocusPolicy m_unlockedFocus;
    bool m_locked = false;
    bool m_writing = false;
    int m_accepted = -1;
    int m_caret = 0;
};

}  // namespace velmora
