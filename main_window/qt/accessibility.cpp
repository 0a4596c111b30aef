#include "main_window/qt/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

#include "main_window/qt/lockable_combo_box.h"
#include "main_window/qt/lockable_line_edit.h"
#include "main_window/qt/picture_label.h"

namespace velmora {

namespace {

// The piece of a one-line text that holds `offset`: a character, a word or
// the blanks between two words, or the whole line. Worked out here rather
// than by Qt's word search, which never returns at the end of a text in Qt 6.4.
struct Piece {
    int start;
    int end;
};

Piece pieceAt(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
    const int length = static_cast<int>(text.size());
    if (boundary == QAccessible::CharBoundary)
        return {offset, std::min(offset + 1, length)};
    if (boundary != QAccessible::WordBoundary || length == 0)
        return {0, length};
    // At the end, the word the caret stands after.
    const int at = std::min(offset, length - 1);
    const bool blank = text.at(at).isSpace();
    int start = at;
    int end = at + 1;
    while (start > 0 && text.at(start - 1).isSpace() == blank)
        --start;
    while (end < length && text.at(end).isSpace() == blank)
        ++end;
    return {start, end};
}

// Before, at or after `offset` (-2: the caret, -1: the end); out of range,
// nothing at -1.
enum class Side { Before, At, After };

QString textAround(const QString& text, int caret, int offset,
                   QAccessible::TextBoundaryType boundary, Side side, int* start, int* end) {
    const int length = static_cast<int>(text.size());
    if (offset == -2)
        offset = caret;
    else if (offset == -1)
        offset = length;
    if (offset < 0 || offset > length) {
        *start = *end = -1;
        return {};
    }
    Piece piece = pieceAt(text, offset, boundary);
    if (side == Side::Before)
        piece = piece.start > 0 ? pieceAt(text, piece.start - 1, boundary) : Piece{0, 0};
    else if (side == Side::After)
        piece = piece.end < length ? pieceAt(text, piece.end, boundary) : Piece{length, length};
    *start = piece.start;
    *end = piece.end;
    return text.mid(piece.start, piece.end - piece.start);
}

// No attributes, in one run over the whole text: a reader takes the run as
// the extent to read, and an empty one cut every value short.
QString oneRun(int length, int offset, int* start, int* end) {
    *start = 0;
    *end = offset >= 0 && offset <= length ? length : 0;
    return {};
}

// The read-only text of a line, for a list's chosen unit: the boundaries
// above, one run of attributes, and a caret that only the list moves.
class LineText : public QAccessibleTextInterface {
public:
    virtual QString line() const = 0;

    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return line().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(line().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        return oneRun(characterCount(), offset, start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        return textAround(line(), cursorPosition(), offset, boundary, Side::Before, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        return textAround(line(), cursorPosition(), offset, boundary, Side::At, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        return textAround(line(), cursorPosition(), offset, boundary, Side::After, start, end);
    }
};

// A list named by what it is for, as is the hidden label whose buddy it is
// (Qt's own lists on Linux take their item's text as their name, which newer
// screen readers then say twice); its value is the chosen unit, and its one
// child is the popup's list of units, to be browsed while closed.
// Screen readers take the unit from its text, and read the text again when
// its caret moves: at each new unit, and at each key a locked list refuses.
// A locked list says so after its unit.
class UnitListAccessible : public QAccessibleWidget, public LineText {
public:
    explicit UnitListAccessible(LockableComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return line();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        // Qt 6.8's list of units offers its selection, from which newer
        // screen readers take the unit, without the lock: it goes here.
        if (t == QAccessible::Description && list()->isLocked())
            return LockableComboBox::tr("read only");
#endif
        return QAccessibleWidget::text(t);
    }

    QString line() const override { return list()->spokenUnit(); }
    int cursorPosition() const override { return std::min(list()->caret(), characterCount()); }

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
    QString text(int start, int end) const override {
        return field()->text().mid(start, end - start);
    }
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
        return oneRun(characterCount(), offset, start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        return textAround(field()->text(), cursorPosition(), offset, boundary, Side::Before, start,
                          end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        return textAround(field()->text(), cursorPosition(), offset, boundary, Side::At, start,
                          end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        return textAround(field()->text(), cursorPosition(), offset, boundary, Side::After, start,
                          end);
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

// An option of the mode: its place among the three is its description, as a
// screen reader in its default settings gives no position itself. The group
// box is its parent and is heard on entering the group; Qt would also make it
// each option's label, heard again at every arrow.
class OptionAccessible : public QAccessibleWidget {
public:
    explicit OptionAccessible(QRadioButton* option)
        : QAccessibleWidget(option, QAccessible::RadioButton) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return option()->text().remove(QLatin1Char('&'));
        if (t == QAccessible::Description && option()->group()) {
            // In the order the eye reads them, left to right.
            QList<QAbstractButton*> options = option()->group()->buttons();
            std::sort(
                options.begin(), options.end(),
                [](const QAbstractButton* a, const QAbstractButton* b) { return a->x() < b->x(); });
            return QCoreApplication::translate("velmora::Form1", "%1 of %2")
                .arg(options.indexOf(option()) + 1)
                .arg(options.size());
        }
        return QAccessibleWidget::text(t);
    }

    QVector<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override {
        auto found = QAccessibleWidget::relations(match);
        const QObject* group = option()->parentWidget();
        found.removeIf([group](const auto& relation) {
            return relation.second == QAccessible::Label && relation.first->object() == group;
        });
        return found;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = option()->isChecked();
        return s;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction(), toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction() || action == toggleAction())
            option()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QRadioButton* option() const { return static_cast<QRadioButton*>(widget()); }
};

// The option group: a list of three options of which one is chosen, named
// by its caption. Newer screen readers name a radio button's group at every
// button unless the focus came from a member of the group, which Qt cannot
// tell them; a list ends their search for the group's name, and the group is
// still named once, on entering it.
class OptionGroupAccessible : public QAccessibleWidget {
public:
    explicit OptionGroupAccessible(QGroupBox* group)
        : QAccessibleWidget(group, QAccessible::List) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<QGroupBox*>(widget())->title().remove(QLatin1Char('&'));
        return QAccessibleWidget::text(t);
    }
};

// The About box's lines of text are read as text, not controls, its title as
// a heading; its rules not at all.
class AboutTextAccessible : public QAccessibleWidget {
public:
    AboutTextAccessible(QLabel* label, QAccessible::Role role) : QAccessibleWidget(label, role) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

class RuleAccessible : public QAccessibleWidget {
public:
    explicit RuleAccessible(QWidget* rule) : QAccessibleWidget(rule, QAccessible::Separator) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        return s;
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
    if (key == QLatin1String("velmora::FrameBox") &&
        object->objectName() == QLatin1String("Frame2"))
        return new OptionGroupAccessible(static_cast<QGroupBox*>(object));
    if (key == QLatin1String("QRadioButton") && object->parent() &&
        object->parent()->objectName() == QLatin1String("Frame2"))
        return new OptionAccessible(static_cast<QRadioButton*>(object));
    const bool inAbout =
        object->parent() && object->parent()->objectName() == QLatin1String("frmAbout");
    if (inAbout && key == QLatin1String("QLabel") &&
        object->objectName() != QLatin1String("picIcon"))
        return new AboutTextAccessible(static_cast<QLabel*>(object),
                                       object->objectName() == QLatin1String("lblTitle")
                                           ? QAccessible::Heading
                                           : QAccessible::Paragraph);
    if (inAbout && key == QLatin1String("QFrame"))
        return new RuleAccessible(static_cast<QWidget*>(object));
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
