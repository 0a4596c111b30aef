#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

#include "about/qt/frm_about.h"
#include "main_window/qt/form1.h"

// Run by run_on_weston.sh. A window the compositor finds at fault ends the
// whole process (Qt exits on a protocol error), which fails the test.

namespace velmora::testing {
namespace {

// Notes whether the compositor has configured the window maximised: the state
// changes that come from the window system are spontaneous.
class MaximisedSeen : public QObject {
public:
    explicit MaximisedSeen(QWidget* window) { window->installEventFilter(this); }
    bool seen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && event->spontaneous() &&
            (static_cast<QWidget*>(watched)->windowState() & Qt::WindowMaximized))
            seen = true;
        return false;
    }
};

// Repaints while waiting: weston checks a window against its configured state
// when a frame is committed, and a user's window commits frames all the time.
bool paintUntil(QWidget& window, const std::function<bool()>& done, int timeoutMs) {
    return QTest::qWaitFor(
        [&] {
            window.repaint();
            return done();
        },
        timeoutMs);
}

void paintFor(QWidget& window, int ms) {
    paintUntil(
        window, [] { return false; }, ms);
}

// The maximise button of Qt's title bar calls QWindow::setWindowStates.
void expectKeepsSizeWhenMaximised(QWidget& window) {
    const QSize size = window.size();
    MaximisedSeen maximised(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.windowHandle()->showMaximized();
    EXPECT_TRUE(paintUntil(
        window,
        [&] {
            return maximised.seen && !(window.windowState() & Qt::WindowMaximized) &&
                   window.size() == size;
        },
        5000))
        << "state " << window.windowState().toInt() << ", width " << window.width();
    paintFor(window, 200);
    EXPECT_TRUE(window.windowHandle()->isExposed());
    EXPECT_EQ(window.size(), size);
}

TEST(WaylandTest, MainWindowKeepsItsSizeWhenMaximised) {
    Form1 window;
    expectKeepsSizeWhenMaximised(window);
}

TEST(WaylandTest, AboutBoxKeepsItsSizeWhenMaximised) {
    frmAbout box;
    expectKeepsSizeWhenMaximised(box);
}

TEST(WaylandTest, WindowsKeepTheirSizeWhenMinimised) {
    Form1 window;
    frmAbout box;
    for (QWidget* shown : std::initializer_list<QWidget*>{&window, &box}) {
        const QSize size = shown->size();
        shown->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shown));
        shown->windowHandle()->showMinimized();
        paintFor(*shown, 200);
        EXPECT_EQ(shown->size(), size);
    }
}

}  // namespace
}  // namespace velmora::testing

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
