#pragma once

#include <QLineEdit>

namespace velmora {

// A text box that can be locked: read-only for the user and for anything
// that writes to it from outside, such as an assistive tool, while the
// calculation's own writes still go through. changed() reports every text
// that stays, nested inside the write that made it.
class LockableLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit LockableLineEdit(const QString& text, QWidget* parent = nullptr);

    void setLocked(bool locked) { setReadOnly(locked); }
    bool isLocked() const { return isReadOnly(); }
    // The calculation's write: raises changed() only when the text differs.
    void writeText(const QString& text);
    // Where the character at `offset` is drawn, in screen coordinates; empty
    // past the end.
    QRect characterRect(int offset) const;

signals:
    void changed();

protected:
    // A text too long for the box shows whole as the box's tool tip.
    bool event(QEvent* event) override;

private:
    bool textFits() const;
    void onTextChanged(const QString& text);

    QString m_accepted;
    bool m_writing = false;
};

}  // namespace velmora
