#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QDialog>
#include <QSignalSpy>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

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
    // A list is named and labelled by its purpose, and its value is its unit.
    chooseUnit(sizeUnitList(), 3);
    for (const auto& [list, purpose] :
         {std::pair{sizeUnitList(), "Data size unit"}, {speedUnitList(), "Speed unit"}}) {
        SCOPED_TRACE(purpose);
        QAccessibleInterface* unit = accessible(list);
        EXPECT_EQ(unit->role(), QAccessible::ComboBox);
        EXPECT_EQ(unit->text(QAccessible::Name), purpose);
        EXPECT_EQ(unit->text(QAccessible::Value), list->currentText());  // open in Time mode
        const auto labels = unit->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels.front().first->text(QAccessible::Name), purpose);
        ASSERT_EQ(unit->childCount(), 1);
        EXPECT_EQ(unit->child(0)->childCount(), list->count());
    }
    EXPECT_EQ(accessible(sizeUnitList())->text(QAccessible::Value), "Bytes");
}

TEST_F(Form1Test, ReadOnlyStatesFollowTheMode) {
    for (int mode : {1, 2, 0}) {
        SCOPED_TRACE(mode);
        chooseMode(mode);
        EXPECT_EQ(accessible(dataSizeBox())->state().readOnly, mode == 2);
        EXPECT_EQ(accessible(sizeUnitList())->state().readOnly, mode == 2);
        EXPECT_EQ(accessible(speedBox())->state().readOnly, mode == 1);
        EXPECT_EQ(accessible(speedUnitList())->state().readOnly, mode == 1);
        EXPECT_EQ(accessible(timeBox(4))->state().readOnly, mode == 0);
    }
}

TEST_F(Form1Test, AssistiveToolsCannotWriteALockedResult) {
    QAccessibleInterface* seconds = accessible(timeBox(5));
    QSignalSpy changes(timeBox(5), &QLineEdit::textChanged);
    seconds->editableTextInterface()->replaceText(0, 1, QStringLiteral("999"));
    seconds->editableTextInterface()->insertText(0, QStringLiteral("7"));
    seconds->editableTextInterface()->deleteText(0, 1);
    seconds->setText(QAccessible::Value, QStringLiteral("777"));
    EXPECT_EQ(timeBox(5)->text(), "1");
    EXPECT_EQ(changes.count(), 0);  // refused before, not put back after
    EXPECT_EQ(runs(core::CalcMode::Time), 1);
    // An open field still takes it, and the result follows.
    accessible(speedBox())->setText(QAccessible::Value, QStringLiteral("64"));
    EXPECT_EQ(timeBox(5)->text(), "0.5");
    accessible(speedBox())->editableTextInterface()->insertText(0, QStringLiteral("1"));
    EXPECT_EQ(speedBox()->text(), "164");
}

TEST_F(Form1Test, ModeFollowsTheButtonsAccessibleAction) {
    QAccessibleInterface* speed = accessible(modeButton(1));
    speed->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(modeButton(1)->isChecked());
    EXPECT_TRUE(speedBox()->isReadOnly());
    EXPECT_FALSE(timeBox(0)->isReadOnly());
    // The field that looks open takes typing and the speed follows.
    typeInto(timeBox(5), "2");
    EXPECT_EQ(speedBox()->text(), "16");
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
    EXPECT_EQ(visit([&] {
                  logo->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
              }),
              std::pair(false, true));
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(visit([&] { QTest::keyClick(speedBox(), Qt::Key_F1); }), std::pair(true, true));
    EXPECT_EQ(runs(core::CalcMode::Time), 1);
}

// Ends the run with a message if the calls under it do not return in time:
// a search that spins must fail the test, not stall it.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_thread([this, limit] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, limit, [this] { return m_finished; })) {
                  std::fprintf(stderr, "FAILED: no answer within %lld s to %s\n",
                               static_cast<long long>(limit.count()), m_what.load());
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }
    std::atomic<const char*> m_what{"nothing yet"};

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

TEST_F(Form1Test, TextAnswersEveryBoundaryAtEveryOffset) {
    using B = QAccessible::TextBoundaryType;
    const B boundaries[] = {QAccessible::CharBoundary,     QAccessible::WordBoundary,
                            QAccessible::SentenceBoundary, QAccessible::ParagraphBoundary,
                            QAccessible::LineBoundary,     QAccessible::NoBoundary};
    Watchdog watchdog(std::chrono::seconds(20));
    // Fields as typed, a locked result, and a list with its unit's text.
    typeInto(speedBox(), "1.33");
    typeInto(dataSizeBox(), "32");
    const std::pair<QObject*, QString> texts[] = {{dataSizeBox(), "32"},
                                                  {speedBox(), "1.33"},
                                                  {timeBox(5), timeBox(5)->text()},
                                                  {sizeUnitList(), "KiloBytes"}};
    for (const auto& [object, shown] : texts) {
        QAccessibleTextInterface* text = accessible(object)->textInterface();
        ASSERT_TRUE(text);
        const int length = text->characterCount();
        ASSERT_EQ(length, shown.size());
        for (const B boundary : boundaries) {
            for (int offset = -2; offset <= length + 2; ++offset) {
                SCOPED_TRACE(::testing::Message() << shown.toStdString() << " boundary " << boundary
                                                  << " offset " << offset);
                int start = -9;
                int end = -9;
                watchdog.m_what = "textBeforeOffset";
                const QString before = text->textBeforeOffset(offset, boundary, &start, &end);
                EXPECT_EQ(before, start < 0 ? QString() : shown.mid(start, end - start));
                watchdog.m_what = "textAtOffset";
                const QString at = text->textAtOffset(offset, boundary, &start, &end);
                EXPECT_EQ(at, start < 0 ? QString() : shown.mid(start, end - start));
                // Past the end, nothing; at the end, the word or line before the
                // caret, whole; within, the piece holds the offset.
                const int place = offset == -2   ? text->cursorPosition()
                                  : offset == -1 ? length
                                                 : offset;
                if (place > length)
                    EXPECT_EQ(start, -1);
                else if (boundary != QAccessible::CharBoundary)
                    EXPECT_EQ(at, shown);  // no blanks: one word, one line
                else
                    EXPECT_EQ(at, shown.mid(place, 1));
                watchdog.m_what = "textAfterOffset";
                text->textAfterOffset(offset, boundary, &start, &end);
                EXPECT_LE(end, length);
            }
        }
        // Attributes: one run over the whole text, so a value is read whole.
        for (int offset = 0; offset <= length; ++offset) {
            int start = -9;
            int end = -9;
            watchdog.m_what = "attributes";
            text->attributes(offset, &start, &end);
            EXPECT_EQ(std::pair(start, end), std::pair(0, length)) << "offset " << offset;
        }
    }
}

TEST_F(Form1Test, ALockedListSaysSoAfterItsUnit) {
    chooseMode(2);  // Data: the size and its unit are the result
    QAccessibleTextInterface* unit = accessible(sizeUnitList())->textInterface();
    const QString line = unit->text(0, unit->characterCount());
    EXPECT_EQ(line, sizeUnitList()->currentText() + ", read only");
    // A refused key moves the caret, so the line is read again.
    const int caret = unit->cursorPosition();
    sizeUnitList()->setFocus();
    QTest::keyClick(sizeUnitList(), Qt::Key_Down);
    EXPECT_NE(unit->cursorPosition(), caret);
    EXPECT_EQ(unit->text(0, unit->characterCount()), line);
    chooseMode(0);
    EXPECT_EQ(unit->text(0, unit->characterCount()), sizeUnitList()->currentText());
}

TEST_F(Form1Test, TheOptionsGiveTheirPlaceAndLeaveTheGroupToItsBox) {
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* option = accessible(modeButton(i));
        EXPECT_EQ(option->text(QAccessible::Description), QStringLiteral("%1 of 3").arg(i + 1));
        EXPECT_TRUE(option->relations(QAccessible::Label).isEmpty());
        EXPECT_EQ(option->parent()->text(QAccessible::Name), "Calculate:");
    }
}

}  // namespace
}  // namespace velmora::testing
