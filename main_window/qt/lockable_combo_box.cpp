#include "main_window/qt/lockable_combo_box.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace velmora {

LockableComboBox::LockableComboBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::currentIndexChanged, this, &LockableComboBox::onIndexChanged);
}

void LockableComboBox::setLocked(bool locked) {
    if (m_locked == locked)
        return;
    m_locked = locked;
    // Screen readers hear a locked list as read-only, as a locked text box.
    QAccessible::State changed;
    changed.readOnly = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    update();
}

void LockableComboBox::writeIndex(int index) {
    m_writing = true;
    setCurrentIndex(index);
    m_writing = false;
}

void LockableComboBox::onIndexChanged(int index) {
    if (m_locked && !m_writing) {
        const QSignalBlocker quiet(this);
        setCurrentIndex(m_accepted);
        return;
    }
    m_accepted = index;
    const bool writing = m_writing;
    m_writing = false;
    emit clicked();
    m_writing = writing;
}

void LockableComboBox::showPopup() {
    if (!m_locked)
        QComboBox::showPopup();
}

void LockableComboBox::paintEvent(QPaintEvent*) {
    // Styles paint a list's field like a button; fill it with the base colour
    // right up to the frame, so the colour of a result reads the same on every
    // kind of field, and draw the arrow over it. With the focus, the field
    // shows as selected, as a drop-down list does.
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const QRect arrow =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    const QColor text = palette().color(QPalette::Text);
    const QRect inside = field.united(arrow).intersected(rect().adjusted(1, 1, -1, -1));
    painter.fillRect(inside, palette().color(QPalette::Base));
    QStyleOption arrowOption;
    arrowOption.initFrom(this);
    arrowOption.rect = arrow;
    arrowOption.palette.setColor(QPalette::ButtonText, text);
    arrowOption.palette.setColor(QPalette::WindowText, text);
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrowOption);
    QPalette::ColorRole textRole = QPalette::Text;
    if (hasFocus()) {
        painter.fillRect(field.adjusted(1, 1, -1, -1), palette().color(QPalette::Highlight));
        textRole = QPalette::HighlightedText;
    }
    option.palette.setColor(QPalette::ButtonText, palette().color(textRole));
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void LockableComboBox::keyPressEvent(QKeyEvent* event) {
    if (!m_locked) {
        QComboBox::keyPressEvent(event);
        return;
    }
    // Let focus keys through to the window; swallow everything that could pick an item.
    event->ignore();
}

void LockableComboBox::mousePressEvent(QMouseEvent* event) {
    if (m_locked) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QComboBox::mousePressEvent(event);
}

void LockableComboBox::mouseReleaseEvent(QMouseEvent* event) {
    if (m_locked) {
        event->accept();
        return;
    }
    QComboBox::mouseReleaseEvent(event);
}

void LockableComboBox::wheelEvent(QWheelEvent* event) {
    if (m_locked) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

}  // namespace velmora
