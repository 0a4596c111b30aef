#include "main_window/qt/lockable_line_edit.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>

namespace velmora {

LockableLineEdit::LockableLineEdit(const QString& text, QWidget* parent)
    : QLineEdit(text, parent), m_accepted(text) {
    connect(this, &QLineEdit::textChanged, this, &LockableLineEdit::onTextChanged);
}

void LockableLineEdit::writeText(const QString& text) {
    // Qt tells screen readers of every write, the same text's too: at each
    // key they would hear of six results, most of them unchanged, and fall
    // behind the typing.
    if (text == this->text())
        return;
    m_writing = true;
    setText(text);
    m_writing = false;
    // A result longer than its box shows its first digits, not its last.
    setCursorPosition(0);
}

QRect LockableLineEdit::characterRect(int offset) const {
    const QString shown = text();
    if (offset < 0 || offset >= shown.size())
        return {};
    // Measured from the cursor, the one place a line edit says where its
    // scrolled text lies.
    const QFontMetrics metrics(font());
    const QRect cursor = cursorRect();
    const int x = cursor.center().x() + metrics.horizontalAdvance(shown.left(offset)) -
                  metrics.horizontalAdvance(shown.left(cursorPosition()));
    return {mapToGlobal(QPoint(x, cursor.top())),
            QSize(metrics.horizontalAdvance(shown.at(offset)), cursor.height())};
}

bool LockableLineEdit::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !toolTip().isEmpty())
        return QLineEdit::event(event);
    // Asked for at the moment it shows, so a box that grew or shrank since
    // its last write is measured as it is now.
    if (textFits()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        event->accept();
    }
    return true;
}

bool LockableLineEdit::textFits() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                               .marginsRemoved(textMargins());
    // QLineEdit keeps two pixels clear on either side of its text.
    return QFontMetrics(font()).horizontalAdvance(text()) <= contents.width() - 4;
}

void LockableLineEdit::onTextChanged(const QString& text) {
    if (isLocked() && !m_writing) {
        // Only a write from outside reaches a locked box; put the result back.
        const QSignalBlocker quiet(this);
        setText(m_accepted);
        return;
    }
    m_accepted = text;
    // A nested write may follow from here; it is the calculation's own again
    // only if it comes through writeText.
    const bool writing = m_writing;
    m_writing = false;
    emit changed();
    m_writing = writing;
}

}  // namespace velmora
