#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>

#include <functional>

#include "tests/ui/form1_fixture.h"

namespace velmora::testing {
namespace {

class AboutTest : public Form1Test {
public:
    // Clicks the logo and runs `step` while the box is open and modal; the
    // box is closed afterwards if the step left it open. Returns whether a
    // box opened at all.
    bool withAboutOpen(const std::function<void(QDialog*)>& step) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box)
                return;
            opened = true;
            EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
            step(box);
            if (box->isVisible())
                box->done(QDialog::Rejected);
        });
        QLabel* logo = control<QLabel>("Image1");
        QTest::mouseClick(logo, Qt::LeftButton, {}, logo->rect().center());
        return opened;
    }

    template <typename T>
    static T* part(QDialog* box, const char* name) {
        T* found = box->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    struct Snapshot {
        QString dataSize, speed;
        std::array<QString, 6> time;
        int sizeUnit, speedUnit;
        int mode;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const {
        int mode = -1;
        for (int i = 0; i < 3; ++i)
            if (modeButton(i)->isChecked())
                mode = i;
        return {dataSizeBox()->text(),
                speedBox()->text(),
                timeTexts(),
                sizeUnitList()->currentIndex(),
                speedUnitList()->currentIndex(),
                mode};
    }
};

TEST_F(AboutTest, ShowsTitleAndVersionBuiltAtLoad) {
    ASSERT_TRUE(withAboutOpen([](QDialog* box) {
        EXPECT_EQ(box->objectName(), "frmAbout");
        EXPECT_EQ(box->windowTitle(), "About Velmora");
        EXPECT_EQ(part<QLabel>(box, "lblTitle")->text(), "Velmora");
        EXPECT_EQ(part<QLabel>(box, "lblVersion")->text(), "Version 1.0.2");
        EXPECT_TRUE(part<QLabel>(box, "lblDescription")->text().contains("Velmora"));
        EXPECT_TRUE(part<QLabel>(box, "lblDisclaimer")->text().contains("copyright"));
        EXPECT_TRUE(box->isModal());
        EXPECT_FALSE(box->windowIcon().isNull());
    }));
}

TEST_F(AboutTest, StandsAtItsDesignedPlaces) {
    ASSERT_TRUE(withAboutOpen([](QDialog* box) {
        EXPECT_EQ(box->geometry(), QRect(156, 129, 382, 237));
        EXPECT_EQ(box->minimumSize(), box->maximumSize());
        EXPECT_FALSE(box->windowFlags() &
                     (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(box->windowFlags() & Qt::WindowCloseButtonHint);
        const struct {
            const char* name;
            QRect place;
        } rows[] = {
            {"cmdOK", {283, 175, 84, 55}},         {"picIcon", {64, 0, 254, 104}},
            {"lblDescription", {4, 136, 373, 26}}, {"lblDisclaimer", {17, 175, 258, 55}},
            {"lblTitle", {4, 104, 315, 16}},       {"lblVersion", {32, 120, 287, 15}},
            {"Line1(1)", {6, 163, 371, 1}},        {"Line1(0)", {7, 164, 370, 2}},
        };
        for (const auto& row : rows)
            EXPECT_EQ(part<QWidget>(box, row.name)->geometry(), row.place) << row.name;

        // The logo at natural size, framed, and every text whole in its label.
        auto* logo = part<QLabel>(box, "picIcon");
        EXPECT_EQ(logo->pixmap().size(), QSize(250, 100));
        EXPECT_EQ(logo->contentsRect().size(), QSize(250, 100));
        for (const char* name : {"lblDescription", "lblDisclaimer", "lblTitle", "lblVersion"}) {
            auto* label = part<QLabel>(box, name);
            const QRect needed = QFontMetrics(label->font())
                                     .boundingRect(QRect(0, 0, label->width(), 1000),
                                                   Qt::TextWordWrap, label->text());
            EXPECT_LE(needed.height(), label->height()) << name;
        }

        // The rule is drawn: grey over white.
        const QImage image = box->grab().toImage();
        EXPECT_EQ(QColor(image.pixel(100, 163)), QColor(128, 128, 128));
        EXPECT_EQ(QColor(image.pixel(100, 164)), QColor(255, 255, 255));
        EXPECT_EQ(QColor(image.pixel(100, 165)), QColor(255, 255, 255));
    }));
}

TEST_F(AboutTest, FocusStartsOnOkAndTabsToTheLogoOnly) {
    ASSERT_TRUE(withAboutOpen([](QDialog* box) {
        EXPECT_EQ(QApplication::focusWidget(), part<QWidget>(box, "cmdOK"));
        const char* expected[] = {"picIcon", "cmdOK", "picIcon", "cmdOK"};
        for (const char* name : expected) {
            QTest::keyClick(box->windowHandle(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
        }
    }));
}

TEST_F(AboutTest, EveryWayOfClosingLeavesTheWindowAsItWas) {
    chooseMode(2);
    typeTime({"", "", "", "1.5", "", ""});
    const Snapshot before = snapshot();
    const int calculations =
        runs(core::CalcMode::Time) + runs(core::CalcMode::Speed) + runs(core::CalcMode::Data);

    const struct {
        const char* how;
        std::function<void(QDialog*)> close;
        bool pressesOk;
    } ways[] = {
        {"Esc", [](QDialog* box) { QTest::keyClick(box->windowHandle(), Qt::Key_Escape); }, true},
        {"Enter", [](QDialog* box) { QTest::keyClick(box->windowHandle(), Qt::Key_Return); }, true},
        {"OK",
         [](QDialog* box) { QTest::mouseClick(part<QPushButton>(box, "cmdOK"), Qt::LeftButton); },
         true},
        {"close box", [](QDialog* box) { box->windowHandle()->close(); }, false},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        bool closed = false;
        int okClicks = -1;
        ASSERT_TRUE(withAboutOpen([&](QDialog* box) {
            QSignalSpy ok(part<QPushButton>(box, "cmdOK"), &QPushButton::clicked);
            way.close(box);
            closed = !box->isVisible();
            okClicks = static_cast<int>(ok.count());
        }));
        EXPECT_TRUE(closed);
        EXPECT_EQ(okClicks, way.pressesOk ? 1 : 0);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(snapshot() == before);
    }
    EXPECT_EQ(runs(core::CalcMode::Time) + runs(core::CalcMode::Speed) + runs(core::CalcMode::Data),
              calculations);
    // And the window takes input again.
    typeInto(speedBox(), "2");
    EXPECT_EQ(dataSizeBox()->text(), "10.55");
}

TEST_F(AboutTest, MainWindowTakesNoInputWhileOpen) {
    const Snapshot before = snapshot();
    // Through the window system, where a modal box blocks what reaches the window.
    const auto at = [this](QWidget* widget, QPoint point) {
        return widget->mapTo(window.get(), point);
    };
    ASSERT_TRUE(withAboutOpen([&](QDialog* box) {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at(modeButton(1), {6, 6}));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at(speedBox(), {5, 5}));
        QTest::keyClick(window->windowHandle(), Qt::Key_5);
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
        EXPECT_TRUE(box->isVisible());
    }));
    EXPECT_TRUE(snapshot() == before);
    // The same click, once the box is closed, does reach the window.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at(modeButton(1), {6, 6}));
    EXPECT_TRUE(modeButton(1)->isChecked());
}

TEST_F(AboutTest, ClicksOnLogoLabelsAndBackgroundDoNothing) {
    ASSERT_TRUE(withAboutOpen([](QDialog* box) {
        for (const char* name :
             {"picIcon", "lblTitle", "lblVersion", "lblDescription", "lblDisclaimer"}) {
            QTest::mouseClick(part<QWidget>(box, name), Qt::LeftButton);
            EXPECT_TRUE(box->isVisible()) << name;
        }
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, 230));
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->windowTitle(), "About Velmora");
    }));
}

TEST_F(AboutTest, OpensTheSameEveryTime) {
    QRect first;
    QString firstVersion;
    ASSERT_TRUE(withAboutOpen([&](QDialog* box) {
        first = box->geometry();
        firstVersion = part<QLabel>(box, "lblVersion")->text();
        QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
    }));
    ASSERT_TRUE(withAboutOpen([&](QDialog* box) {
        EXPECT_EQ(box->geometry(), first);
        EXPECT_EQ(part<QLabel>(box, "lblVersion")->text(), firstVersion);
        EXPECT_EQ(QApplication::focusWidget(), part<QWidget>(box, "cmdOK"));
    }));
}

}  // namespace
}  // namespace velmora::testing
