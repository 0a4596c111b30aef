#include "main_window/qt/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QDialog>

#include "main_window/qt/lockable_combo_box.h"
#include "main_window/qt/lockable_line_edit.h"
#include "main_window/qt/picture_label.h"

namespace velmora {

namespace {

// A list as Qt's own combo box tells it on Linux: the chosen unit is its name,
// and its one child is the popup's list of units, to be browsed while closed.
// What the list is for comes from the hidden label whose buddy it is.
class UnitListAccessible : public QAccessibleWidget {
public:
    explicit UnitListAccessible(LockableComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name || t == QAccessible::Value)
            return list()->currentText();
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == list()->view() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = list()->isLocked();
        s.expandable = !list()->isLocked();
        return s;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (!list()->isLocked())
            names.prepend(showMenuAction());
        return names;
    }

    void doAction(const QString& action) override {
        if (action == showMenuAction())
            list()->showPopup();  // refused while locked
        else
            QAccessibleWidget::doAction(action);
    }

private:
    LockableComboBox* list() const { return static_cast<LockableComboBox*>(widget()); }
};

// A text box whose writes from outside are refused while it is locked, before
// anything changes: Qt's own interface writes first, and a write put back
// afterwards has already been announced.
class FieldAccessible : public QAccessibleWidget,
                        public QAccessibleTextInterface,
                        public QAccessibleEditableTextInterface {
public:
    explicit FieldAccessible(LockableLineEdit* field)
        : QAccessibleWidget(field, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return field()->text();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t != QAccessible::Value)
            QAccessibleWidget::setText(t, text);
        else if (!field()->isLocked())
            field()->setText(text);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.readOnly = field()->isLocked();
        s.selectableText = true;
        return s;
    }

    // Text
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && field()->hasSelectedText()) {
            *start = field()->selectionStart();
            *end = field()->selectionEnd();
        }
    }
    int selectionCount() const override { return field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            field()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0)
            field()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return field()->cursorPosition(); }
    void setCursorPosition(int position) override { field()->setCursorPosition(position); }
    QString text(int start, int end) const override { return field()->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(field()->text().size()); }
    QRect characterRect(int offset) const override { return field()->characterRect(offset); }
    int offsetAtPoint(const QPoint& point) const override {
        return field()->cursorPositionAt(field()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override {
        field()->setCursorPosition(end);
        field()->setCursorPosition(start);
    }
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }
    // -2 asks at the cursor.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        return QAccessibleTextInterface::textBeforeOffset(at(offset), boundary, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        return QAccessibleTextInterface::textAfterOffset(at(offset), boundary, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        return QAccessibleTextInterface::textAtOffset(at(offset), boundary, start, end);
    }

    // Editable text: the paste of a screen reader arrives as an insert.
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (!field()->isLocked())
            field()->setText(field()->text().replace(start, end - start, text));
    }

private:
    LockableLineEdit* field() const { return static_cast<LockableLineEdit*>(widget()); }
    int at(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

// The logo never takes the focus; its press action opens the About box
// without a mouse. Like a button's, the press returns at once and the click
// follows: a screen reader waiting on it would hang for as long as the box
// stays open.
class LogoAccessible : public QAccessibleWidget {
public:
    explicit LogoAccessible(PictureLabel* logo) : QAccessibleWidget(logo, QAccessible::Graphic) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override {
        if (action == pressAction())
            QMetaObject::invokeMethod(static_cast<PictureLabel*>(widget()), &PictureLabel::click,
                                      Qt::QueuedConnection);
    }
};

// Qt tells neither modality nor that a plain top-level widget is a window.
class WindowAccessible : public QAccessibleWidget {
public:
    WindowAccessible(QWidget* window, QAccessible::Role role) : QAccessibleWidget(window, role) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.modal = widget()->isModal();
        return s;
    }
};

QAccessibleInterface* factory(const QString& key, QObject* object) {
    if (key == QLatin1String("velmora::LockableComboBox"))
        return new UnitListAccessible(static_cast<LockableComboBox*>(object));
    if (key == QLatin1String("velmora::LockableLineEdit"))
        return new FieldAccessible(static_cast<LockableLineEdit*>(object));
    if (key == QLatin1String("velmora::PictureLabel"))
        return new LogoAccessible(static_cast<PictureLabel*>(object));
    if (key == QLatin1String("velmora::Form1"))
        return new WindowAccessible(static_cast<QWidget*>(object), QAccessible::Window);
    if (key == QLatin1String("velmora::frmAbout"))
        return new WindowAccessible(static_cast<QWidget*>(object), QAccessible::Dialog);
    return nullptr;
}

}  // namespace

void installAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace velmora
