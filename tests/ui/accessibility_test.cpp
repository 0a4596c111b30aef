#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QDialog>
#include <QSignalSpy>
#include <QTimer>

#include "tests/ui/form1_fixture.h"

namespace velmora::testing {
namespace {

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

TEST_F(Form1Test, ScreenReadersHearWindowAndListsByName) {
    QAccessibleInterface* frame = accessible(window.get());
    EXPECT_EQ(frame->role(), QAccessible::Window);
    EXPECT_EQ(frame->text(QAccessible::Name), "Velmora");
    // A list says its unit, as Qt's own do on Linux, and is labelled by its purpose.
    chooseUnit(combo1(), 3);
    for (const auto& [list, purpose] : {std::pair{combo1(), "Data size unit"}, {combo2(), "Speed unit"}}) {
        SCOPED_TRACE(purpose);
        QAccessibleInterface* unit = accessible(list);
        EXPECT_EQ(unit->role(), QAccessible::ComboBox);
        EXPECT_EQ(unit->text(QAccessible::Name), list->currentText());
        const auto labels = unit->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels.front().first->text(QAccessible::Name), purpose);
        ASSERT_EQ(unit->childCount(), 1);
        EXPECT_EQ(unit->child(0)->childCount(), list->count());
    }
    EXPECT_EQ(accessible(combo1())->text(QAccessible::Name), "Bytes");
}

TEST_F(Form1Test, ReadOnlyStatesFollowTheMode) {
    for (int mode : {1, 2, 0}) {
        SCOPED_TRACE(mode);
        chooseMode(mode);
        EXPECT_EQ(accessible(text1())->state().readOnly, mode == 2);
        EXPECT_EQ(accessible(combo1())->state().readOnly, mode == 2);
        EXPECT_EQ(accessible(text2())->state().readOnly, mode == 1);
        EXPECT_EQ(accessible(combo2())->state().readOnly, mode == 1);
        EXPECT_EQ(accessible(text3(4))->state().readOnly, mode == 0);
    }
}

TEST_F(Form1Test, AssistiveToolsCannotWriteALockedResult) {
    QAccessibleInterface* seconds = accessible(text3(5));
    QSignalSpy changes(text3(5), &QLineEdit::textChanged);
    seconds->editableTextInterface()->replaceText(0, 1, QStringLiteral("999"));
    seconds->editableTextInterface()->insertText(0, QStringLiteral("7"));
    seconds->editableTextInterface()->deleteText(0, 1);
    seconds->setText(QAccessible::Value, QStringLiteral("777"));
    EXPECT_EQ(text3(5)->text(), "1");
    EXPECT_EQ(changes.count(), 0);  // refused before, not put back after
    EXPECT_EQ(runs(core::CalcMode::Time), 1);
    // An open field still takes it, and the result follows.
    accessible(text2())->setText(QAccessible::Value, QStringLiteral("64"));
    EXPECT_EQ(text3(5)->text(), "0.5");
    accessible(text2())->editableTextInterface()->insertText(0, QStringLiteral("1"));
    EXPECT_EQ(text2()->text(), "164");
}

TEST_F(Form1Test, ModeFollowsTheButtonsAccessibleAction) {
    QAccessibleInterface* speed = accessible(option1(1));
    speed->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(option1(1)->isChecked());
    EXPECT_TRUE(text2()->isReadOnly());
    EXPECT_FALSE(text3(0)->isReadOnly());
    // The field that looks open takes typing and the speed follows.
    typeInto(text3(5), "2");
    EXPECT_EQ(text2()->text(), "16");
}

TEST_F(Form1Test, AboutBoxOpensWithoutAMouse) {
    // Whether a modal box opened inside `open`, and whether one opened at all.
    const auto visit = [](const std::function<void()>& open) {
        bool opened = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box)
                return;
            opened = true;
            EXPECT_EQ(accessible(box)->role(), QAccessible::Dialog);
            EXPECT_TRUE(accessible(box)->state().modal);
            box->done(QDialog::Accepted);
        });
        watch.start(5);
        open();
        const bool inside = opened;
        return std::pair{inside, QTest::qWaitFor([&] { return opened; }, 5000)};
    };
    QAccessibleInterface* logo = accessible(control<QWidget>("Image1"));
    ASSERT_TRUE(logo->actionInterface());
    // The press returns first, as a button's does, and the box follows.
    EXPECT_EQ(visit([&] { logo->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); }),
              std::pair(false, true));
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(visit([&] { QTest::keyClick(text2(), Qt::Key_F1); }), std::pair(true, true));
    EXPECT_EQ(runs(core::CalcMode::Time), 1);
}

}  // namespace
}  // namespace velmora::testing
