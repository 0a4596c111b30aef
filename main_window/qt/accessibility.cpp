#include "main_window/qt/accessibility.h"

#include <QAccessible>
#include <QDialog>

#include "main_window/qt/lockable_combo_box.h"
#include "main_window/qt/picture_label.h"

namespace velmora {

namespace {

// Qt calls a list's current item its name; a screen reader then announces
// "KiloBytes, combo box" and never what the list is for.
class UnitListAccessible : public QAccessibleWidget {
public:
    explicit UnitListAccessible(LockableComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return list()->currentText();
        return QAccessibleWidget::text(t);
    }

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

// The logo never takes the focus; its press action opens the About box
// without a mouse.
class LogoAccessible : public QAccessibleWidget {
public:
    explicit LogoAccessible(PictureLabel* logo) : QAccessibleWidget(logo, QAccessible::Graphic) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override {
        if (action == pressAction())
            static_cast<PictureLabel*>(widget())->click();
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
