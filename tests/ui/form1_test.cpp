#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QToolTip>
#include <QStyle>
#include <QWindow>
#include <QWheelEvent>

#include <clocale>
#include <string>

#include "tests/ui/form1_fixture.h"

namespace velmora::testing {
namespace {

using core::CalcMode;

const QColor pink(255, 189, 197);
const QColor white(255, 255, 255);

// The share of a control's pixels, as rendered, that have the given colour.
double shareOfColour(QWidget* control, const QColor& colour) {
    const QImage image = control->grab().toImage();
    int matching = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            matching += QColor(image.pixel(x, y)).rgb() == colour.rgb();
    return double(matching) / (image.width() * image.height());
}

TEST_F(Form1Test, StartsCalculatedForThirtyTwoKiloBytesAtThirtyTwoPerSecond) {
    EXPECT_EQ(text1()->text(), "32");
    EXPECT_EQ(combo1()->currentText(), "KiloBytes");
    EXPECT_EQ(text2()->text(), "32");
    EXPECT_EQ(combo2()->currentText(), "KiloBytes/second");
    EXPECT_EQ(timeTexts(), times({"0", "0", "0", "0", "0", "1"}));
    EXPECT_TRUE(option1(0)->isChecked());
    EXPECT_FALSE(option1(1)->isChecked());
    EXPECT_FALSE(option1(2)->isChecked());
    EXPECT_EQ(window->windowTitle(), "Velmora");
}

TEST_F(Form1Test, StartUpRunsExactlyOneCalculation) {
    // The two unit selections at load must not calculate.
    EXPECT_EQ(runs(CalcMode::Time), 1);
    EXPECT_EQ(runs(CalcMode::Speed), 0);
    EXPECT_EQ(runs(CalcMode::Data), 0);
}

TEST_F(Form1Test, ListsHoldTheUnitsWithTheirMultipliers) {
    const struct { const char* text; int multiplier; } sizes[] = {
        {"KiloBytes", 1024}, {"MegaBytes", 1048576}, {"GigaBytes", 1073741824}, {"Bytes", 1}};
    ASSERT_EQ(combo1()->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(combo1()->itemText(i), sizes[i].text);
        EXPECT_EQ(combo1()->itemData(i).toInt(), sizes[i].multiplier);
    }
    ASSERT_EQ(combo2()->count(), 2);
    EXPECT_EQ(combo2()->itemText(0), "KiloBytes/second");
    EXPECT_EQ(combo2()->itemData(0).toInt(), 1024);
    EXPECT_EQ(combo2()->itemText(1), "MegaBytes/second");
    EXPECT_EQ(combo2()->itemData(1).toInt(), 1048576);
    EXPECT_FALSE(combo1()->isEditable());
    EXPECT_FALSE(combo2()->isEditable());
}

// Which fields are results in each mode: locked and pink, the rest open and white.
TEST_F(Form1Test, EachModeLocksAndColoursItsResultFields) {
    const struct { int mode; bool timeLocked, text1Locked, text2Locked; } rows[] = {
        {1, false, false, true}, {2, false, true, false}, {0, true, false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        chooseMode(row.mode);
        ASSERT_TRUE(option1(row.mode)->isChecked());
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(text3(i)->isReadOnly(), row.timeLocked) << i;
        EXPECT_EQ(text1()->isReadOnly(), row.text1Locked);
        EXPECT_EQ(text2()->isReadOnly(), row.text2Locked);
        const auto colourOf = [](bool locked) { return locked ? pink : white; };
        EXPECT_GT(shareOfColour(text3(0), colourOf(row.timeLocked)), 0.5);
        EXPECT_GT(shareOfColour(text3(5), colourOf(row.timeLocked)), 0.5);
        EXPECT_GT(shareOfColour(text1(), colourOf(row.text1Locked)), 0.5);
        EXPECT_GT(shareOfColour(text2(), colourOf(row.text2Locked)), 0.5);
        // The lists follow their text boxes, in what the user sees too.
        EXPECT_GT(shareOfColour(combo1(), colourOf(row.text1Locked)), 0.4);
        EXPECT_GT(shareOfColour(combo2(), colourOf(row.text2Locked)), 0.4);
    }
}

TEST_F(Form1Test, ChangingModeWritesNoTextAndNoUnit) {
    typeInto(text1(), "1");
    chooseUnit(combo1(), 2);
    const auto before = timeTexts();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QLineEdit* field : {text1(), text2(), text3(0), text3(1), text3(2), text3(3), text3(4),
                             text3(5)})
        spies.push_back(std::make_unique<QSignalSpy>(field, &QLineEdit::textChanged));
    for (QComboBox* list : {combo1(), combo2()})
        spies.push_back(std::make_unique<QSignalSpy>(list, &QComboBox::currentIndexChanged));
    const int calculations = runs(CalcMode::Time) + runs(CalcMode::Speed) + runs(CalcMode::Data);

    for (const int mode : {1, 2, 2, 0, 0})
        chooseMode(mode);

    for (const auto& spy : spies)
        EXPECT_EQ(spy->count(), 0);
    EXPECT_EQ(runs(CalcMode::Time) + runs(CalcMode::Speed) + runs(CalcMode::Data), calculations);
    EXPECT_EQ(timeTexts(), before);
    EXPECT_EQ(combo1()->currentIndex(), 2);
}

struct TimeCase {
    const char* data;
    int dataUnit;
    const char* speed;
    int speedUnit;
    std::array<const char*, 6> expected;
};

TEST_F(Form1Test, TimeModeFollowsEveryEditAndUnit) {
    const TimeCase rows[] = {
        {"1", 2, "1", 0, {"0", "1", "5", "3", "16", "16"}},
        {"1", 2, "1", 1, {"0", "0", "0", "0", "17", "4"}},
        {"100", 2, "1", 0, {"3", "16", "6", "15", "6", "40"}},
        {"1", 0, "3", 0, {"0", "0", "0", "0", "0", "0.33"}},
        {"59.5", 0, "1", 0, {"0", "0", "0", "0", "1", "-0.5"}},
        {"58.5", 0, "1", 0, {"0", "0", "0", "0", "0", "58.5"}},
        {"-90", 0, "1", 0, {"0", "0", "0", "0", "-1", "-30"}},
        {"2147483647", 0, "1", 0, {"68", "5", "0", "3", "14", "7"}},
        // Beyond 32-bit seconds the breakdown goes on.
        {"3000", 2, "1", 0, {"99", "39", "0", "21", "20", "0"}},
        {"1 024", 0, "&H400", 0, {"0", "0", "0", "0", "0", "1"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.data);
        chooseUnit(combo1(), row.dataUnit);
        chooseUnit(combo2(), row.speedUnit);
        typeInto(text2(), row.speed);
        typeInto(text1(), row.data);
        EXPECT_EQ(timeTexts(), times(row.expected));
    }
}

TEST_F(Form1Test, TimeModeKeepsTheTimeWhenTheSpeedIsNothing) {
    typeInto(text1(), "1");
    chooseUnit(combo1(), 2);
    const auto before = timeTexts();
    for (const char* speed : {"", "0", "abc", "-", "0.0"}) {
        SCOPED_TRACE(speed);
        typeInto(text2(), speed);
        EXPECT_EQ(timeTexts(), before);
    }
    typeInto(text2(), "1");
    EXPECT_EQ(timeTexts(), times({"0", "1", "5", "3", "16", "16"}));
}

struct SpeedCase {
    const char* data;
    int dataUnit;
    std::array<const char*, 6> time;
    int expectedUnit;
    const char* expected;
};

TEST_F(Form1Test, SpeedModeChoosesItsOwnUnit) {
    chooseMode(1);
    const SpeedCase rows[] = {
        {"32", 0, {"", "", "", "", "", "1"}, 0, "32"},
        {"1", 2, {"", "", "", "", "", "1"}, 1, "1024"},
        {"1048575", 3, {"", "", "", "", "", "1"}, 0, "1024"},
        {"1048576", 3, {"", "", "", "", "", "1"}, 1, "1"},
        {"1", 3, {"", "", "", "", "", "1"}, 0, "0"},
        {"1", 2, {"0", "0", "0", "0", "17", "4"}, 1, "1"},
        {"-1", 2, {"", "", "", "", "", "1"}, 0, "-1048576"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.data);
        typeTime(row.time);
        chooseUnit(combo1(), row.dataUnit);
        typeInto(text1(), row.data);
        EXPECT_EQ(combo2()->currentIndex(), row.expectedUnit);
        EXPECT_EQ(text2()->text(), row.expected);
    }
}

TEST_F(Form1Test, SpeedModeWithNoTimeShowsZeroAndKeepsTheUnit) {
    chooseMode(1);
    typeInto(text1(), "1");
    chooseUnit(combo1(), 2);
    typeTime({"", "", "", "", "", "1"});
    ASSERT_EQ(combo2()->currentIndex(), 1);
    for (const auto& time : {std::array<const char*, 6>{"", "", "", "", "", ""},
                             std::array<const char*, 6>{"", "", "", "", "1", "-60"}}) {
        typeTime(time);
        EXPECT_EQ(text2()->text(), "0");
        EXPECT_EQ(combo2()->currentIndex(), 1);
    }
}

struct DataCase {
    const char* speed;
    int speedUnit;
    std::array<const char*, 6> time;
    int expectedUnit;
    const char* expected;
};

TEST_F(Form1Test, DataModeChoosesItsOwnUnit) {
    chooseMode(2);
    const DataCase rows[] = {
        {"32", 0, {"", "", "", "", "", "1"}, 0, "32"},
        {"1", 0, {"", "", "", "", "", "0.5"}, 3, "512"},
        {"1", 0, {"", "", "", "", "", "1"}, 0, "1"},
        {"1", 0, {"", "", "", "1.5", "", ""}, 1, "5.27"},
        {"1", 1, {"1", "", "", "", "", ""}, 2, "30796.88"},
        {"1", 0, {"", "", "", "", "-1", ""}, 3, "-61440"},
        {"", 0, {"", "", "", "", "", "5"}, 3, "0"},
        {"1", 0, {"", "", "", "", "", ""}, 3, "0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.speed);
        typeTime(row.time);
        chooseUnit(combo2(), row.speedUnit);
        typeInto(text2(), row.speed);
        EXPECT_EQ(combo1()->currentIndex(), row.expectedUnit);
        EXPECT_EQ(text1()->text(), row.expected);
    }
}

// An edit that moves the result's unit calculates once more, nested in the
// unit's click; one that keeps it calculates once. Both end the same.
TEST_F(Form1Test, UnitMoveNestsExactlyOneMoreCalculation) {
    struct Row {
        int mode;
        QLineEdit* (Form1Test::*input)() const;
        QComboBox* (Form1Test::*inputUnit)() const;
        const char* keepsUnit;
        const char* movesUnit;
        QLineEdit* (Form1Test::*result)() const;
        QComboBox* (Form1Test::*resultUnit)() const;
    };
    const Row rows[] = {
        {1, &Form1Test::text1, &Form1Test::combo1, "2", "2048", &Form1Test::text2, &Form1Test::combo2},
        {2, &Form1Test::text2, &Form1Test::combo2, "2", "2048", &Form1Test::text1, &Form1Test::combo1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        chooseMode(row.mode);
        typeTime({"", "", "", "", "", "1"});
        chooseUnit((this->*row.inputUnit)(), 0);
        typeInto((this->*row.input)(), "1");
        const auto mode = static_cast<CalcMode>(row.mode);
        QLineEdit* result = (this->*row.result)();
        QComboBox* unit = (this->*row.resultUnit)();
        ASSERT_EQ(unit->currentIndex(), 0);

        QSignalSpy resultWrites(result, &QLineEdit::textChanged);
        int before = runs(mode);
        typeInto((this->*row.input)(), row.keepsUnit);  // "1" -> "2": one keystroke
        EXPECT_EQ(runs(mode) - before, 1);
        EXPECT_EQ(unit->currentIndex(), 0);

        // Typing "2048" over "2": the last key moves the unit up.
        typeInto((this->*row.input)(), QString::fromLatin1(row.movesUnit).chopped(1));
        before = runs(mode);
        resultWrites.clear();
        QTest::keyClick((this->*row.input)(), Qt::Key_8);
        EXPECT_EQ(runs(mode) - before, 2);
        EXPECT_EQ(unit->currentIndex(), 1);
        EXPECT_EQ(result->text(), "2");
        EXPECT_EQ(resultWrites.count(), 1);  // the outer write repeats the nested one
    }
}

TEST_F(Form1Test, ResultFieldsNeverStartACalculation) {
    typeInto(text1(), "5");
    const int timeRuns = runs(CalcMode::Time);
    // Time results are written six times over on each run, and start nothing.
    EXPECT_EQ(timeRuns, 2);
    chooseMode(1);
    const int speedRuns = runs(CalcMode::Speed);
    typeInto(text3(5), "2");
    EXPECT_EQ(runs(CalcMode::Speed), speedRuns + 1);
    EXPECT_EQ(runs(CalcMode::Time), timeRuns);
    EXPECT_EQ(runs(CalcMode::Data), 0);
}

TEST_F(Form1Test, LockedFieldsRefuseTyping) {
    typeInto(text3(0), "9");
    EXPECT_EQ(text3(0)->text(), "0");
    chooseMode(1);
    typeInto(text2(), "9");
    EXPECT_NE(text2()->text(), "9");
    chooseMode(2);
    const QString data = text1()->text();
    typeInto(text1(), "9");
    EXPECT_EQ(text1()->text(), data);
}

TEST_F(Form1Test, LockedListRefusesKeyboardWheelAndMouse) {
    chooseMode(1);
    QComboBox* list = combo2();
    const int index = list->currentIndex();
    list->setFocus();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Home, Qt::Key_M,
                              Qt::Key_PageDown})
        QTest::keyClick(list, key);
    QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(list->currentIndex(), index);

    const QPointF centre = QRectF(list->rect()).center();
    for (const int delta : {-120, 120, -120}) {
        QWheelEvent wheel(centre, list->mapToGlobal(centre), {}, {0, delta}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &wheel);
    }
    EXPECT_EQ(list->currentIndex(), index);

    QTest::mouseClick(list, Qt::LeftButton);
    EXPECT_FALSE(list->view()->isVisible());
    EXPECT_TRUE(list->hasFocus());  // still takes the focus
    EXPECT_EQ(list->currentIndex(), index);

    // Unlocked again in Time mode, it answers the keyboard.
    chooseMode(0);
    chooseUnit(list, 1);
    EXPECT_EQ(list->currentIndex(), 1);
}

}  // namespace
}  // namespace velmora::testing

// Qt's entry for the platform's input, whose header is private. Only a wheel
// that comes this way, as a real one does, may move the focus.
class QWindowSystemInterface {
public:
    static bool handleWheelEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                 QPoint pixelDelta, QPoint angleDelta, Qt::KeyboardModifiers mods,
                                 Qt::ScrollPhase phase, Qt::MouseEventSource source);
};

namespace velmora::testing {
namespace {

void turnWheel(QWidget* widget, int delta) {
    QWidget* top = widget->window();
    const QPointF at = widget->mapTo(top, QRectF(widget->rect()).center());
    QWindowSystemInterface::handleWheelEvent(top->windowHandle(), at, top->mapToGlobal(at), {},
                                             {0, delta}, Qt::NoModifier, Qt::NoScrollPhase,
                                             Qt::MouseEventNotSynthesized);
    QCoreApplication::processEvents();
}

TEST_F(Form1Test, WheelOverALockedListLeavesTheFocus) {
    chooseMode(1);
    text1()->setFocus();
    turnWheel(combo2(), -120);
    EXPECT_TRUE(text1()->hasFocus());
    EXPECT_EQ(combo2()->currentIndex(), 0);
    // Over an unlocked list the wheel takes the focus and moves the unit, as ever.
    turnWheel(combo1(), -120);
    EXPECT_TRUE(combo1()->hasFocus());
    EXPECT_EQ(combo1()->currentIndex(), 1);
}

// Counts the key presses that reach an object, modifiers alone left out.
class KeyPressCounter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            presses += key != Qt::Key_Control && key != Qt::Key_Alt && key != Qt::Key_Shift;
        }
        return false;
    }
};

TEST_F(Form1Test, LockedListPassesTheWindowsKeysOn) {
    chooseMode(1);
    combo2()->setFocus();
    KeyPressCounter reached;
    window->installEventFilter(&reached);
    const struct { Qt::Key key; Qt::KeyboardModifiers modifiers; bool passes; } rows[] = {
        {Qt::Key_F, Qt::ControlModifier, true}, {Qt::Key_F5, {}, true},
        {Qt::Key_M, Qt::AltModifier, true},     {Qt::Key_Escape, {}, true},
        {Qt::Key_Down, {}, false},              {Qt::Key_Down, Qt::AltModifier, false},
        {Qt::Key_PageDown, {}, false},          {Qt::Key_M, {}, false},
        {Qt::Key_Left, Qt::AltModifier, false}, {Qt::Key_Return, {}, false},
        {Qt::Key_Down, Qt::ControlModifier, false}, {Qt::Key_Space, Qt::ControlModifier, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(QKeySequence(row.key | row.modifiers).toString().toStdString());
        const int before = reached.presses;
        QTest::keyClick(combo2(), row.key, row.modifiers);
        EXPECT_EQ(reached.presses - before, row.passes ? 1 : 0);
    }
    EXPECT_EQ(combo2()->currentIndex(), 0);
}

TEST_F(Form1Test, LongResultShowsItsStart) {
    typeInto(text1(), "1000000000000000");
    typeInto(text2(), "1");
    QLineEdit* years = text3(0);
    ASSERT_EQ(years->text(), "31709791");
    // Wider than the box inside its frame and margins.
    const int frame = years->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, years);
    ASSERT_GT(years->fontMetrics().horizontalAdvance(years->text()), years->width() - 2 * frame - 4);
    EXPECT_EQ(years->cursorPosition(), 0);
    EXPECT_LT(years->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(), years->width() / 4);
}

// Asked for as the mouse rests on a box: the whole text where it is
// clipped, no tip where it fits.
TEST_F(Form1Test, ClippedResultShowsWholeAsToolTip) {
    typeInto(text1(), "1000000000000000");
    typeInto(text2(), "1");
    const auto hover = [](QLineEdit* box) {
        QToolTip::hideText();
        QHelpEvent event(QEvent::ToolTip, QPoint(4, 4), box->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(box, &event);
        return event.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(hover(text3(0)), "31709791");
    EXPECT_EQ(hover(text3(1)), "");
    QToolTip::hideText();
}

TEST_F(Form1Test, FiguresBeyondRangeWriteNothing) {
    typeInto(text1(), "1");
    const auto before = timeTexts();
    for (QLineEdit* input : {text1(), text2()}) {
        pasteInto(input, "1E400");
        EXPECT_EQ(timeTexts(), before);
        typeInto(input, "1");
    }
    pasteInto(text1(), "1E308");
    const auto large = timeTexts();
    chooseUnit(combo1(), 2);  // 1E308 GigaBytes overflows
    EXPECT_EQ(timeTexts(), large);
    pasteInto(text1(), "1");
    EXPECT_EQ(timeTexts(), times({"0", "1", "5", "3", "16", "16"}));

    chooseMode(1);
    typeTime({"", "", "", "", "", "1"});
    const QString speed = text2()->text();
    const int unit = combo2()->currentIndex();
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        pasteInto(text3(i), "1E400");
        EXPECT_EQ(text2()->text(), speed);
        EXPECT_EQ(combo2()->currentIndex(), unit);
        typeInto(text3(i), i == 5 ? "1" : "");
    }

    chooseMode(2);
    chooseUnit(combo2(), 0);
    typeInto(text2(), "-1e300");
    const QString data = text1()->text();
    EXPECT_EQ(data, "-1.024E+303");
    typeInto(text3(0), "1");  // a year of it passes the largest double
    EXPECT_EQ(text1()->text(), data);
    typeInto(text2(), "1");
    EXPECT_EQ(text1()->text(), "30.08");
}

}  // namespace
}  // namespace velmora::testing

namespace velmora::testing {
namespace {

// The keyboard picks a mode as the mouse does: arrows within the group, and
// the space bar on a focused button.
TEST_F(Form1Test, KeyboardChoosesTheModeWithItsLocks) {
    option1(0)->setFocus();
    QTest::keyClick(option1(0), Qt::Key_Right);
    EXPECT_TRUE(option1(1)->isChecked());
    EXPECT_TRUE(text2()->isReadOnly());
    EXPECT_FALSE(text3(0)->isReadOnly());

    QWidget* focused = QApplication::focusWidget();
    ASSERT_EQ(focused, option1(1));
    QTest::keyClick(focused, Qt::Key_Right);
    EXPECT_TRUE(option1(2)->isChecked());
    EXPECT_TRUE(text1()->isReadOnly());
    EXPECT_FALSE(text2()->isReadOnly());

    option1(0)->setFocus();
    QTest::keyClick(option1(0), Qt::Key_Space);
    EXPECT_TRUE(option1(0)->isChecked());
    EXPECT_TRUE(text3(0)->isReadOnly());
    EXPECT_FALSE(text1()->isReadOnly());
}

}  // namespace
}  // namespace velmora::testing

namespace velmora::testing {
namespace {

// Where decimals are written with a comma, a result reads back whole.
TEST(Form1LocaleTest, CommaResultsReadBackWhole) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Form1 window;
    QLocale::setDefault(QLocale::c());
    window.show();
    auto* text1 = window.findChild<QLineEdit*>("Text1");
    auto* text2 = window.findChild<QLineEdit*>("Text2");
    auto* combo1 = window.findChild<QComboBox*>("Combo1");
    auto* hours = window.findChild<QLineEdit*>("Text3(3)");
    auto* seconds = window.findChild<QLineEdit*>("Text3(5)");

    QTest::mouseClick(window.findChild<QRadioButton*>("Option1(2)"), Qt::LeftButton, {},
                      QPoint(6, 6));
    for (int i = 0; i < 6; ++i)
        Form1Test::typeInto(window.findChild<QLineEdit*>(QStringLiteral("Text3(%1)").arg(i)), "");
    Form1Test::typeInto(hours, "1,5");  // the user's own separator reads too
    Form1Test::typeInto(text2, "1");
    EXPECT_EQ(text1->text(), "5,27");
    EXPECT_EQ(combo1->currentText(), "MegaBytes");

    QTest::mouseClick(window.findChild<QRadioButton*>("Option1(0)"), Qt::LeftButton, {},
                      QPoint(6, 6));
    Form1Test::typeInto(text2, "2");
    EXPECT_EQ(window.findChild<QLineEdit*>("Text3(4)")->text(), "44");
    EXPECT_EQ(seconds->text(), "58,24");  // 5.27 MegaBytes, not 5
}

// Results take the separator the locale writes beside Latin digits, and read
// back. The C library runs in the same locale, as it does for a user there.
TEST(Form1LocaleTest, ResultsUseTheSeparatorOfLatinDigits) {
    const struct { const char* name; const char* separator; } rows[] = {
        {"C", "."}, {"de_DE", ","}, {"es_MX", "."}, {"fa_IR", "."}, {"ar_EG", "."}};
    const std::string before = std::setlocale(LC_ALL, nullptr);
    qputenv("LOCPATH", VELMORA_TEST_LOCALES);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string cName = std::string(row.name) + ".UTF-8";
        ASSERT_NE(std::setlocale(LC_ALL, cName.c_str()), nullptr) << "locale not generated";
        QLocale::setDefault(QLocale(QString::fromLatin1(row.name)));
        Form1 window;
        QLocale::setDefault(QLocale::c());
        window.show();
        auto* text1 = window.findChild<QLineEdit*>("Text1");
        auto* text2 = window.findChild<QLineEdit*>("Text2");
        auto* seconds = window.findChild<QLineEdit*>("Text3(5)");
        QTest::mouseClick(window.findChild<QRadioButton*>("Option1(1)"), Qt::LeftButton, {},
                          QPoint(6, 6));
        Form1Test::typeInto(text1, "3");
        Form1Test::typeInto(seconds, "2");
        const QString speed = "1" + QString::fromLatin1(row.separator) + "5";
        EXPECT_EQ(text2->text(), speed);
        QTest::mouseClick(window.findChild<QRadioButton*>("Option1(0)"), Qt::LeftButton, {},
                          QPoint(6, 6));
        Form1Test::typeInto(text2, speed);
        EXPECT_EQ(seconds->text(), "2");
    }
    std::setlocale(LC_ALL, before.c_str());
    qunsetenv("LOCPATH");
}

}  // namespace
}  // namespace velmora::testing
