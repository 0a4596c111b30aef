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

#include "design/qt/qt_design.h"
#include "tests/ui/form1_fixture.h"

namespace velmora::testing {
namespace {

using core::CalcMode;

const QColor pink = toQColor(ResultBackColour);
const QColor white = toQColor(InputBackColour);

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
    EXPECT_EQ(dataSizeBox()->text(), "32");
    EXPECT_EQ(sizeUnitList()->currentText(), "KiloBytes");
    EXPECT_EQ(speedBox()->text(), "32");
    EXPECT_EQ(speedUnitList()->currentText(), "KiloBytes/second");
    EXPECT_EQ(timeTexts(), times({"0", "0", "0", "0", "0", "1"}));
    EXPECT_TRUE(modeButton(0)->isChecked());
    EXPECT_FALSE(modeButton(1)->isChecked());
    EXPECT_FALSE(modeButton(2)->isChecked());
    EXPECT_EQ(window->windowTitle(), "Velmora");
}

TEST_F(Form1Test, StartUpRunsExactlyOneCalculation) {
    // The two unit selections at load must not calculate.
    EXPECT_EQ(runs(CalcMode::Time), 1);
    EXPECT_EQ(runs(CalcMode::Speed), 0);
    EXPECT_EQ(runs(CalcMode::Data), 0);
}

TEST_F(Form1Test, ListsHoldTheUnitsWithTheirMultipliers) {
    const struct {
        const char* text;
        int multiplier;
    } sizes[] = {
        {"KiloBytes", 1024}, {"MegaBytes", 1048576}, {"GigaBytes", 1073741824}, {"Bytes", 1}};
    ASSERT_EQ(sizeUnitList()->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(sizeUnitList()->itemText(i), sizes[i].text);
        EXPECT_EQ(sizeUnitList()->itemData(i).toInt(), sizes[i].multiplier);
    }
    ASSERT_EQ(speedUnitList()->count(), 2);
    EXPECT_EQ(speedUnitList()->itemText(0), "KiloBytes/second");
    EXPECT_EQ(speedUnitList()->itemData(0).toInt(), 1024);
    EXPECT_EQ(speedUnitList()->itemText(1), "MegaBytes/second");
    EXPECT_EQ(speedUnitList()->itemData(1).toInt(), 1048576);
    EXPECT_FALSE(sizeUnitList()->isEditable());
    EXPECT_FALSE(speedUnitList()->isEditable());
}

// Which fields are results in each mode: locked and pink, the rest open and white.
TEST_F(Form1Test, EachModeLocksAndColoursItsResultFields) {
    const struct {
        int mode;
        bool timeLocked, dataSizeLocked, speedLocked;
    } rows[] = {{1, false, false, true}, {2, false, true, false}, {0, true, false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        chooseMode(row.mode);
        ASSERT_TRUE(modeButton(row.mode)->isChecked());
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(timeBox(i)->isReadOnly(), row.timeLocked) << i;
        EXPECT_EQ(dataSizeBox()->isReadOnly(), row.dataSizeLocked);
        EXPECT_EQ(speedBox()->isReadOnly(), row.speedLocked);
        const auto colourOf = [](bool locked) { return locked ? pink : white; };
        EXPECT_GT(shareOfColour(timeBox(0), colourOf(row.timeLocked)), 0.5);
        EXPECT_GT(shareOfColour(timeBox(5), colourOf(row.timeLocked)), 0.5);
        EXPECT_GT(shareOfColour(dataSizeBox(), colourOf(row.dataSizeLocked)), 0.5);
        EXPECT_GT(shareOfColour(speedBox(), colourOf(row.speedLocked)), 0.5);
        // The lists follow their text boxes, in what the user sees too.
        EXPECT_GT(shareOfColour(sizeUnitList(), colourOf(row.dataSizeLocked)), 0.4);
        EXPECT_GT(shareOfColour(speedUnitList(), colourOf(row.speedLocked)), 0.4);
    }
}

TEST_F(Form1Test, ChangingModeWritesNoTextAndNoUnit) {
    typeInto(dataSizeBox(), "1");
    chooseUnit(sizeUnitList(), 2);
    const auto before = timeTexts();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QLineEdit* field : {dataSizeBox(), speedBox(), timeBox(0), timeBox(1), timeBox(2),
                             timeBox(3), timeBox(4), timeBox(5)})
        spies.push_back(std::make_unique<QSignalSpy>(field, &QLineEdit::textChanged));
    for (QComboBox* list : {sizeUnitList(), speedUnitList()})
        spies.push_back(std::make_unique<QSignalSpy>(list, &QComboBox::currentIndexChanged));
    const int calculations = runs(CalcMode::Time) + runs(CalcMode::Speed) + runs(CalcMode::Data);

    for (const int mode : {1, 2, 2, 0, 0})
        chooseMode(mode);

    for (const auto& spy : spies)
        EXPECT_EQ(spy->count(), 0);
    EXPECT_EQ(runs(CalcMode::Time) + runs(CalcMode::Speed) + runs(CalcMode::Data), calculations);
    EXPECT_EQ(timeTexts(), before);
    EXPECT_EQ(sizeUnitList()->currentIndex(), 2);
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
        chooseUnit(sizeUnitList(), row.dataUnit);
        chooseUnit(speedUnitList(), row.speedUnit);
        typeInto(speedBox(), row.speed);
        typeInto(dataSizeBox(), row.data);
        EXPECT_EQ(timeTexts(), times(row.expected));
    }
}

TEST_F(Form1Test, TimeModeKeepsTheTimeWhenTheSpeedIsNothing) {
    typeInto(dataSizeBox(), "1");
    chooseUnit(sizeUnitList(), 2);
    const auto before = timeTexts();
    for (const char* speed : {"", "0", "abc", "-", "0.0"}) {
        SCOPED_TRACE(speed);
        typeInto(speedBox(), speed);
        EXPECT_EQ(timeTexts(), before);
    }
    typeInto(speedBox(), "1");
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
        chooseUnit(sizeUnitList(), row.dataUnit);
        typeInto(dataSizeBox(), row.data);
        EXPECT_EQ(speedUnitList()->currentIndex(), row.expectedUnit);
        EXPECT_EQ(speedBox()->text(), row.expected);
    }
}

TEST_F(Form1Test, SpeedModeWithNoTimeShowsZeroAndKeepsTheUnit) {
    chooseMode(1);
    typeInto(dataSizeBox(), "1");
    chooseUnit(sizeUnitList(), 2);
    typeTime({"", "", "", "", "", "1"});
    ASSERT_EQ(speedUnitList()->currentIndex(), 1);
    for (const auto& time : {std::array<const char*, 6>{"", "", "", "", "", ""},
                             std::array<const char*, 6>{"", "", "", "", "1", "-60"}}) {
        typeTime(time);
        EXPECT_EQ(speedBox()->text(), "0");
        EXPECT_EQ(speedUnitList()->currentIndex(), 1);
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
        chooseUnit(speedUnitList(), row.speedUnit);
        typeInto(speedBox(), row.speed);
        EXPECT_EQ(sizeUnitList()->currentIndex(), row.expectedUnit);
        EXPECT_EQ(dataSizeBox()->text(), row.expected);
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
        {1, &Form1Test::dataSizeBox, &Form1Test::sizeUnitList, "2", "2048", &Form1Test::speedBox,
         &Form1Test::speedUnitList},
        {2, &Form1Test::speedBox, &Form1Test::speedUnitList, "2", "2048", &Form1Test::dataSizeBox,
         &Form1Test::sizeUnitList},
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
    typeInto(dataSizeBox(), "5");
    const int timeRuns = runs(CalcMode::Time);
    // Time results are written six times over on each run, and start nothing.
    EXPECT_EQ(timeRuns, 2);
    chooseMode(1);
    const int speedRuns = runs(CalcMode::Speed);
    typeInto(timeBox(5), "2");
    EXPECT_EQ(runs(CalcMode::Speed), speedRuns + 1);
    EXPECT_EQ(runs(CalcMode::Time), timeRuns);
    EXPECT_EQ(runs(CalcMode::Data), 0);
}

TEST_F(Form1Test, LockedFieldsRefuseTyping) {
    typeInto(timeBox(0), "9");
    EXPECT_EQ(timeBox(0)->text(), "0");
    chooseMode(1);
    typeInto(speedBox(), "9");
    EXPECT_NE(speedBox()->text(), "9");
    chooseMode(2);
    const QString data = dataSizeBox()->text();
    typeInto(dataSizeBox(), "9");
    EXPECT_EQ(dataSizeBox()->text(), data);
}

TEST_F(Form1Test, LockedListRefusesKeyboardWheelAndMouse) {
    chooseMode(1);
    QComboBox* list = speedUnitList();
    const int index = list->currentIndex();
    list->setFocus();
    for (const Qt::Key key :
         {Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Home, Qt::Key_M, Qt::Key_PageDown})
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
    dataSizeBox()->setFocus();
    turnWheel(speedUnitList(), -120);
    EXPECT_TRUE(dataSizeBox()->hasFocus());
    EXPECT_EQ(speedUnitList()->currentIndex(), 0);
    // Over an unlocked list the wheel takes the focus and moves the unit, as ever.
    turnWheel(sizeUnitList(), -120);
    EXPECT_TRUE(sizeUnitList()->hasFocus());
    EXPECT_EQ(sizeUnitList()->currentIndex(), 1);
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
    speedUnitList()->setFocus();
    KeyPressCounter reached;
    window->installEventFilter(&reached);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool passes;
    } rows[] = {{Qt::Key_F, Qt::ControlModifier, true},
                {Qt::Key_F5, {}, true},
                {Qt::Key_M, Qt::AltModifier, true},
                {Qt::Key_Escape, {}, true},
                {Qt::Key_Down, {}, false},
                {Qt::Key_Down, Qt::AltModifier, false},
                {Qt::Key_PageDown, {}, false},
                {Qt::Key_M, {}, false},
                {Qt::Key_Left, Qt::AltModifier, false},
                {Qt::Key_Return, {}, false},
                {Qt::Key_Down, Qt::ControlModifier, false},
                {Qt::Key_Space, Qt::ControlModifier, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(QKeySequence(row.key | row.modifiers).toString().toStdString());
        const int before = reached.presses;
        QTest::keyClick(speedUnitList(), row.key, row.modifiers);
        EXPECT_EQ(reached.presses - before, row.passes ? 1 : 0);
    }
    EXPECT_EQ(speedUnitList()->currentIndex(), 0);
}

TEST_F(Form1Test, LongResultShowsItsStart) {
    typeInto(dataSizeBox(), "1000000000000000");
    typeInto(speedBox(), "1");
    QLineEdit* years = timeBox(0);
    ASSERT_EQ(years->text(), "31709791");
    // Wider than the box inside its frame and margins.
    const int frame = years->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, years);
    ASSERT_GT(years->fontMetrics().horizontalAdvance(years->text()),
              years->width() - 2 * frame - 4);
    EXPECT_EQ(years->cursorPosition(), 0);
    EXPECT_LT(years->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(),
              years->width() / 4);
}

// Asked for as the mouse rests on a box: the whole text where it is
// clipped, no tip where it fits.
TEST_F(Form1Test, ClippedResultShowsWholeAsToolTip) {
    typeInto(dataSizeBox(), "1000000000000000");
    typeInto(speedBox(), "1");
    const auto hover = [](QLineEdit* box) {
        QToolTip::hideText();
        QHelpEvent event(QEvent::ToolTip, QPoint(4, 4), box->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(box, &event);
        return event.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(hover(timeBox(0)), "31709791");
    EXPECT_EQ(hover(timeBox(1)), "");
    QToolTip::hideText();
}

TEST_F(Form1Test, FiguresBeyondRangeWriteNothing) {
    typeInto(dataSizeBox(), "1");
    const auto before = timeTexts();
    for (QLineEdit* input : {dataSizeBox(), speedBox()}) {
        pasteInto(input, "1E400");
        EXPECT_EQ(timeTexts(), before);
        typeInto(input, "1");
    }
    pasteInto(dataSizeBox(), "1E308");
    const auto large = timeTexts();
    chooseUnit(sizeUnitList(), 2);  // 1E308 GigaBytes overflows
    EXPECT_EQ(timeTexts(), large);
    pasteInto(dataSizeBox(), "1");
    EXPECT_EQ(timeTexts(), times({"0", "1", "5", "3", "16", "16"}));

    chooseMode(1);
    typeTime({"", "", "", "", "", "1"});
    const QString speed = speedBox()->text();
    const int unit = speedUnitList()->currentIndex();
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        pasteInto(timeBox(i), "1E400");
        EXPECT_EQ(speedBox()->text(), speed);
        EXPECT_EQ(speedUnitList()->currentIndex(), unit);
        typeInto(timeBox(i), i == 5 ? "1" : "");
    }

    chooseMode(2);
    chooseUnit(speedUnitList(), 0);
    typeInto(speedBox(), "-1e300");
    const QString data = dataSizeBox()->text();
    EXPECT_EQ(data, "-1.024E+303");
    typeInto(timeBox(0), "1");  // a year of it passes the largest double
    EXPECT_EQ(dataSizeBox()->text(), data);
    typeInto(speedBox(), "1");
    EXPECT_EQ(dataSizeBox()->text(), "30.08");
}

}  // namespace
}  // namespace velmora::testing

namespace velmora::testing {
namespace {

// The keyboard picks a mode as the mouse does: arrows within the group, and
// the space bar on a focused button.
TEST_F(Form1Test, KeyboardChoosesTheModeWithItsLocks) {
    modeButton(0)->setFocus();
    QTest::keyClick(modeButton(0), Qt::Key_Right);
    EXPECT_TRUE(modeButton(1)->isChecked());
    EXPECT_TRUE(speedBox()->isReadOnly());
    EXPECT_FALSE(timeBox(0)->isReadOnly());

    QWidget* focused = QApplication::focusWidget();
    ASSERT_EQ(focused, modeButton(1));
    QTest::keyClick(focused, Qt::Key_Right);
    EXPECT_TRUE(modeButton(2)->isChecked());
    EXPECT_TRUE(dataSizeBox()->isReadOnly());
    EXPECT_FALSE(speedBox()->isReadOnly());

    modeButton(0)->setFocus();
    QTest::keyClick(modeButton(0), Qt::Key_Space);
    EXPECT_TRUE(modeButton(0)->isChecked());
    EXPECT_TRUE(timeBox(0)->isReadOnly());
    EXPECT_FALSE(dataSizeBox()->isReadOnly());
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
    auto* dataSize = window.findChild<QLineEdit*>("Text1");
    auto* speed = window.findChild<QLineEdit*>("Text2");
    auto* sizeUnit = window.findChild<QComboBox*>("Combo1");
    auto* hours = window.findChild<QLineEdit*>("Text3(3)");
    auto* seconds = window.findChild<QLineEdit*>("Text3(5)");

    QTest::mouseClick(window.findChild<QRadioButton*>("Option1(2)"), Qt::LeftButton, {},
                      QPoint(6, 6));
    for (int i = 0; i < 6; ++i)
        Form1Test::typeInto(window.findChild<QLineEdit*>(QStringLiteral("Text3(%1)").arg(i)), "");
    Form1Test::typeInto(hours, "1,5");  // the user's own separator reads too
    Form1Test::typeInto(speed, "1");
    EXPECT_EQ(dataSize->text(), "5,27");
    EXPECT_EQ(sizeUnit->currentText(), "MegaBytes");

    QTest::mouseClick(window.findChild<QRadioButton*>("Option1(0)"), Qt::LeftButton, {},
                      QPoint(6, 6));
    Form1Test::typeInto(speed, "2");
    EXPECT_EQ(window.findChild<QLineEdit*>("Text3(4)")->text(), "44");
    EXPECT_EQ(seconds->text(), "58,24");  // 5.27 MegaBytes, not 5
}

// Results take the separator the locale writes beside Latin digits, and read
// back. The C library runs in the same locale, as it does for a user there.
TEST(Form1LocaleTest, ResultsUseTheSeparatorOfLatinDigits) {
    const struct {
        const char* name;
        const char* separator;
    } rows[] = {{"C", "."}, {"de_DE", ","}, {"es_MX", "."}, {"fa_IR", "."}, {"ar_EG", "."}};
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
        auto* dataSize = window.findChild<QLineEdit*>("Text1");
        auto* speed = window.findChild<QLineEdit*>("Text2");
        auto* seconds = window.findChild<QLineEdit*>("Text3(5)");
        QTest::mouseClick(window.findChild<QRadioButton*>("Option1(1)"), Qt::LeftButton, {},
                          QPoint(6, 6));
        Form1Test::typeInto(dataSize, "3");
        Form1Test::typeInto(seconds, "2");
        const QString written = "1" + QString::fromLatin1(row.separator) + "5";
        EXPECT_EQ(speed->text(), written);
        QTest::mouseClick(window.findChild<QRadioButton*>("Option1(0)"), Qt::LeftButton, {},
                          QPoint(6, 6));
        Form1Test::typeInto(speed, written);
        EXPECT_EQ(seconds->text(), "2");
    }
    std::setlocale(LC_ALL, before.c_str());
    qunsetenv("LOCPATH");
}

}  // namespace
}  // namespace velmora::testing
