#include "main_window/qt/lockable_combo_box.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "main_window/list_lock.h"

namespace velmora {

namespace {

ListKey listKey(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Up:
        return ListKey::Up;
    case Qt::Key_Down:
        return ListKey::Down;
    case Qt::Key_Left:
        return ListKey::Left;
    case Qt::Key_Right:
        return ListKey::Right;
    case Qt::Key_Home:
        return ListKey::Home;
    case Qt::Key_End:
        return ListKey::End;
    case Qt::Key_PageUp:
        return ListKey::PageUp;
    case Qt::Key_PageDown:
        return ListKey::PageDown;
    case Qt::Key_Space:
        return ListKey::Space;
    case Qt::Key_F4:
        return ListKey::F4;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return ListKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ListKey::Enter;
    case Qt::Key_Escape:
        return ListKey::Escape;
    case Qt::Key_F1:
        return ListKey::F1;
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return ListKey::Modifier;
    default:
        break;
    }
    if (event.key() >= Qt::Key_F2 && event.key() <= Qt::Key_F35)
        return ListKey::OtherFunctionKey;
    if (const QString text = event.text(); !text.isEmpty() && text.front().isPrint())
        return ListKey::Character;
    return ListKey::Other;
}

KeyModifiers keyModifiers(Qt::KeyboardModifiers modifiers) {
    return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
            modifiers.testFlag(Qt::AltModifier), modifiers.testFlag(Qt::MetaModifier)};
}

}  // namespace

LockableComboBox::LockableComboBox(QWidget* parent)
    : QComboBox(parent), m_unlockedFocus(focusPolicy()) {
    connect(this, &QComboBox::currentIndexChanged, this, &LockableComboBox::onIndexChanged);
}

void LockableComboBox::setLocked(bool locked) {
    if (m_locked == locked)
        return;
    m_locked = locked;
    // A wheel over a list would take the focus before the list is asked.
    setFocusPolicy(locked ? Qt::StrongFocus : m_unlockedFocus);
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
    // The arrows change a closed list under the focus: its new unit is read.
    if (hasFocus() && !view()->isVisible())
        tell();
    const bool writing = m_writing;
    m_writing = false;
    emit clicked();
    m_writing = writing;
}

void LockableComboBox::showPopup() {
    if (!ListRefuses(ListAction::Open, m_locked))
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
    // What would change the unit stops here, and is told; the rest goes on
    // to the window.
    const ListAction action = ListActionOf(listKey(*event), keyModifiers(event->modifiers()));
    event->setAccepted(ListRefuses(action, m_locked));
    // The unit is read again, with its lock: a refused key is not silence.
    if (event->isAccepted() && !event->isAutoRepeat())
        tell();
}

QString LockableComboBox::spokenUnit() const {
    return m_locked ? tr("%1, read only").arg(currentText()) : currentText();
}

void LockableComboBox::tell() {
    m_caret ^= 1;
    QAccessibleTextCursorEvent moved(this, m_caret);
    QAccessible::updateAccessibility(&moved);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Newer screen readers follow no caret in a list; Qt 6.8 can tell them.
    QAccessibleAnnouncementEvent said(this, spokenUnit());
    said.setPoliteness(QAccessible::AnnouncementPoliteness::Assertive);
    QAccessible::updateAccessibility(&said);
#endif
}

void LockableComboBox::mousePressEvent(QMouseEvent* event) {
    if (ListRefuses(ListAction::Press, m_locked)) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QComboBox::mousePressEvent(event);
}

void LockableComboBox::mouseReleaseEvent(QMouseEvent* event) {
    if (ListRefuses(ListAction::Press, m_locked)) {
        event->accept();
        return;
    }
    QComboBox::mouseReleaseEvent(event);
}

void LockableComboBox::wheelEvent(QWheelEvent* event) {
    if (ListRefuses(ListAction::Wheel, m_locked)) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

}  // namespace velmora
