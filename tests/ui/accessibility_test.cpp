#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QDialog>
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
    for (const auto& [list, name] : {std::pair{combo1(), "Data size unit"}, {combo2(), "Speed unit"}}) {
        QAccessibleInterface* unit = accessible(list);
        EXPECT_EQ(unit->role(), QAccessible::ComboBox);
        EXPECT_EQ(unit->text(QAccessible::Name), name);
        EXPECT_EQ(unit->text(QAccessible::Value), list->currentText());
    }
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
    seconds->editableTextInterface()->replaceText(0, 1, QStringLiteral("999"));
    seconds->setText(QAccessible::Value, QStringLiteral("777"));
    EXPECT_EQ(text3(5)->text(), "1");
    EXPECT_EQ(runs(core::CalcMode::Time), 1);
    // An open field still takes it, and the result follows.
    accessible(text2())->setText(QAccessible::Value, QStringLiteral("64"));
    EXPECT_EQ(text3(5)->text(), "0.5");
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
    const auto opensModal = [](const std::function<void()>& open) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            opened = box != nullptr;
            if (box) {
                EXPECT_EQ(accessible(box)->role(), QAccessible::Dialog);
                EXPECT_TRUE(accessible(box)->state().modal);
                box->done(QDialog::Accepted);
            }
        });
        open();
        return opened;
    };
    QAccessibleInterface* logo = accessible(control<QWidget>("Image1"));
    ASSERT_TRUE(logo->actionInterface());
    EXPECT_TRUE(opensModal([&] {
        logo->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }));
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_TRUE(opensModal([&] { QTest::keyClick(text2(), Qt::Key_F1); }));
    EXPECT_EQ(runs(core::CalcMode::Time), 1);
}

}  // namespace
}  // namespace velmora::testing
