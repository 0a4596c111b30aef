// A long run of random user actions through the real window: typing, deleting,
// pasting texts of any size and kind, choosing units, switching modes and
// opening the About box. After each action the window must show what a fresh
// calculation of its current inputs gives, and nothing the user did not ask for.
//
// The run is fixed by its seed: a failure names the seed and the action index,
// and running the same binary again replays it. VELMORA_STRESS_SEED picks
// another seed and VELMORA_STRESS_ACTIONS another length; VELMORA_STRESS_TRACE=1
// prints each action as it goes, which shows where a crash happened.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <iostream>
#include <optional>
#include <random>
#include <string>

#include "core/calculations.h"
#include "core/units.h"
#include "tests/ui/form1_fixture.h"

namespace velmora::testing {
namespace {

constexpr std::uint32_t fixedSeed = 20240611;
constexpr int defaultActionCount = 100'000;

// Fields: Text1, Text2, then the six time fields. Lists: Combo1, Combo2.
constexpr int fieldCount = 8;
constexpr int listCount = 2;

bool isResultField(int mode, int field) {
    switch (mode) {
    case 0:
        return field >= 2;
    case 1:
        return field == 1;
    default:
        return field == 0;
    }
}

bool isResultList(int mode, int list) {
    return (mode == 1 && list == 1) || (mode == 2 && list == 0);
}

// Plain modulo, not std::uniform_int_distribution, whose output differs between
// standard libraries: a seed replays the same run wherever it is built.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_engine(seed) {}
    int below(int n) { return static_cast<int>(m_engine() % static_cast<std::uint32_t>(n)); }
    bool percent(int p) { return below(100) < p; }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(static_cast<int>(N))];
    }

private:
    std::mt19937 m_engine;
};

// Beyond ASCII: accented and symbol letters, a minus sign, a no-break space,
// digits of other scripts, a surrogate pair and a lone combining mark.
const char* const foreignCharacters[] = {"é",  "ß",  "€", "−",      "\u00a0", "٣",
                                         "０", "中", "😀", "\u0301", "½"};

// Texts on an edge of reading or of the double range.
const char* const edgeTexts[] = {"1E400",
                                 "-1E400",
                                 "1e308",
                                 "-1e308",
                                 "1.7976931348623157e308",
                                 "1.8e308",
                                 "4.9e-324",
                                 "1E-400",
                                 "&HFFFFFFFFFFFFFFFF",
                                 "&H7FFFFFFFFFFFFFFF",
                                 "&O1777777777777777777777",
                                 "&H",
                                 "&",
                                 "&h1f",
                                 "-0",
                                 "0",
                                 "",
                                 " ",
                                 "1e",
                                 "1e-",
                                 "+",
                                 "-",
                                 ".",
                                 "1.5.3",
                                 "1,5",
                                 "1 024",
                                 " \t1\n2 ",
                                 "inf",
                                 "-inf",
                                 "nan",
                                 "NaN",
                                 "Infinity",
                                 "1e999999999999999999",
                                 "9e-99999",
                                 "32 KB",
                                 "0x1p10",
                                 "2147483647.5",
                                 "-2147483648.5",
                                 "9.2233720368547758e18",
                                 "2.9247e11",
                                 "1e15",
                                 "999999999999999.5",
                                 "0.005",
                                 "0.015",
                                 "-0.005",
                                 "59.5",
                                 "1e300"};

// A text as a failure report shows it: its start, control characters as '?'.
std::string describe(const QString& text) {
    QString shown = text.left(40);
    for (QChar& c : shown)
        if (!c.isPrint())
            c = u'?';
    return "'" + shown.toStdString() + (text.size() > 40 ? "...' (" : "' (") +
           std::to_string(text.size()) + " chars)";
}

// What the window shows, and how often it has calculated in each mode.
struct State {
    std::array<QString, fieldCount> texts;
    std::array<int, listCount> units{};
    std::array<int, 3> runs{};

    const QString& text(int field) const { return texts[static_cast<std::size_t>(field)]; }
    int unit(int list) const { return units[static_cast<std::size_t>(list)]; }
};

// One user action, and what it must do to the field or list it acts on.
struct Action {
    explicit Action(std::string description) : what(std::move(description)) {}

    std::string what;
    int field = -1;
    int list = -1;
    std::optional<QString> expectedText;  // when it can be foreseen
    std::optional<int> expectedUnit;
    bool mayOnlyShrink = false;
    std::string failure;  // seen while acting, as with the About box
};

// QTest warns on every key a widget leaves unhandled, as a locked list does,
// and the font system on every script of random text it has no font for.
QtMessageHandler previousHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("Keyboard event not accepted")) ||
        message.startsWith(QLatin1String("Mouse event")) ||
        message.contains(QLatin1String("OpenType support missing")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

class StressTest : public Form1Test {
public:
    void SetUp() override {
        Form1Test::SetUp();
        m_fields = {dataSizeBox(), speedBox(), timeBox(0), timeBox(1),
                    timeBox(2),    timeBox(3), timeBox(4), timeBox(5)};
        m_lists = {sizeUnitList(), speedUnitList()};
        m_options = {modeButton(0), modeButton(1), modeButton(2)};
        m_logo = control<QLabel>("Image1");
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            QObject::connect(m_fields[i], &QLineEdit::textChanged, window.get(),
                             [this, i] { ++m_textSignals[i]; });
        for (std::size_t i = 0; i < m_lists.size(); ++i)
            QObject::connect(m_lists[i], &QComboBox::currentIndexChanged, window.get(),
                             [this, i] { ++m_unitSignals[i]; });
        previousHandler = qInstallMessageHandler(quietHandler);
    }
    void TearDown() override {
        qInstallMessageHandler(previousHandler);
        Form1Test::TearDown();
    }

protected:
    QLineEdit* field(int i) const { return m_fields[static_cast<std::size_t>(i)]; }
    QComboBox* list(int i) const { return m_lists[static_cast<std::size_t>(i)]; }
    std::string fieldName(int i) const { return field(i)->objectName().toStdString(); }
    std::string listName(int i) const { return list(i)->objectName().toStdString(); }
    bool locked(int f) const { return isResultField(m_mode, f); }

    State capture() const {
        State state;
        for (int i = 0; i < fieldCount; ++i)
            state.texts[static_cast<std::size_t>(i)] = field(i)->text();
        for (int i = 0; i < listCount; ++i)
            state.units[static_cast<std::size_t>(i)] = list(i)->currentIndex();
        for (const auto mode : {core::CalcMode::Time, core::CalcMode::Speed, core::CalcMode::Data})
            state.runs[static_cast<std::size_t>(mode)] = runs(mode);
        return state;
    }

    Action act(Dice& dice) {
        const int roll = dice.below(10000);
        if (roll < 4000)
            return typeCharacter(dice);
        if (roll < 5300)
            return deleteCharacter(dice);
        if (roll < 6100)
            return moveCursor(dice);
        if (roll < 6900)
            return clickField(dice);
        if (roll < 7800)
            return paste(dice);
        if (roll < 9300)
            return chooseUnitByKey(dice);
        if (roll < 9800)
            return switchMode(dice);
        if (roll < 9995)
            return editByShortcut(dice);
        return openAndCloseAbout();
    }

    // Whether the field's cursor and selection lie within its text. QLineEdit's
    // own bookkeeping can slip: a redo may leave a selection without a start, a
    // click in text with control characters a cursor past the end. What the next
    // edit does there is not foreseen; the results are still checked.
    static bool predictable(const QLineEdit* f) {
        const qsizetype size = f->text().size();
        if (f->cursorPosition() < 0 || f->cursorPosition() > size)
            return false;
        return !f->hasSelectedText() ||
               (f->selectionStart() >= 0 && f->selectionStart() + f->selectedText().size() <= size);
    }

    // The field's text once its selection, or the empty stretch at its cursor,
    // is replaced, as far as its length limit lets the new text in.
    static QString afterInsert(const QLineEdit* f, const QString& typed) {
        const QString text = f->text();
        const bool selection = f->hasSelectedText();
        const qsizetype start = selection ? f->selectionStart() : f->cursorPosition();
        const qsizetype length = selection ? f->selectedText().size() : 0;
        const qsizetype room = f->maxLength() - (text.size() - length);
        return text.left(start) + typed.left(room) + text.mid(start + length);
    }

    Action typeCharacter(Dice& dice) {
        QString typed;
        const int kind = dice.below(100);
        if (kind < 50)
            typed = QChar(u'0' + dice.below(10));
        else if (kind < 75)
            typed = QStringLiteral(".,eE-+&HhO ").at(dice.below(11));
        else if (kind < 90)
            typed = QChar((dice.percent(50) ? u'a' : u'A') + dice.below(26));
        else
            typed = QString::fromUtf8(dice.pick(foreignCharacters));
        Action action("type " + describe(typed) + " in " + fieldName(m_target));
        action.field = m_target;
        QLineEdit* f = field(m_target);
        if (locked(m_target))
            action.expectedText = f->text();
        else if (predictable(f))
            action.expectedText = afterInsert(f, typed);
        // A character's key code is its upper-case code point.
        const auto key = typed.size() == 1 ? static_cast<Qt::Key>(typed.at(0).toUpper().unicode())
                                           : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, f, key, typed, Qt::NoModifier);
        return action;
    }

    Action deleteCharacter(Dice& dice) {
        const bool back = dice.percent(60);
        Action action((back ? "Backspace in " : "Delete in ") + fieldName(m_target));
        action.field = m_target;
        QLineEdit* f = field(m_target);
        const QString text = f->text();
        const qsizetype cursor = f->cursorPosition();
        if (locked(m_target)) {
            action.expectedText = text;
        } else if (!predictable(f)) {
            action.mayOnlyShrink = true;
        } else if (f->hasSelectedText()) {
            action.expectedText = afterInsert(f, {});
        } else if (back && cursor > 0) {
            // A surrogate pair goes as one; anything else one code unit at a time.
            const bool pair = cursor > 1 && text.at(cursor - 1).isLowSurrogate() &&
                              text.at(cursor - 2).isHighSurrogate();
            action.expectedText = text.left(cursor - (pair ? 2 : 1)) + text.mid(cursor);
        } else if (!back && cursor < text.size()) {
            // Delete takes a whole grapheme; foreseen only for a lone printable ASCII one.
            const auto joins = [](QChar c) {
                return c.isMark() || c.isSurrogate() || c.category() == QChar::Other_Format;
            };
            const char16_t next = text.at(cursor).unicode();
            if (next >= 0x20 && next < 0x7f &&
                (cursor + 1 == text.size() || !joins(text.at(cursor + 1))))
                action.expectedText = text.left(cursor) + text.mid(cursor + 1);
            else
                action.mayOnlyShrink = true;
        } else {
            action.expectedText = text;
        }
        QTest::keyClick(f, back ? Qt::Key_Backspace : Qt::Key_Delete);
        return action;
    }

    Action moveCursor(Dice& dice) {
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            const char* name;
        } moves[] = {
            {Qt::Key_Home, Qt::NoModifier, "Home"},
            {Qt::Key_End, Qt::NoModifier, "End"},
            {Qt::Key_Left, Qt::NoModifier, "Left"},
            {Qt::Key_Right, Qt::NoModifier, "Right"},
            {Qt::Key_Left, Qt::ShiftModifier, "Shift+Left"},
            {Qt::Key_Home, Qt::ShiftModifier, "Shift+Home"},
            {Qt::Key_End, Qt::ShiftModifier, "Shift+End"},
            {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
        };
        const auto& move = dice.pick(moves);
        Action action(move.name + (" in " + fieldName(m_target)));
        action.field = m_target;
        action.expectedText = field(m_target)->text();
        QTest::keyClick(field(m_target), move.key, move.modifiers);
        return action;
    }

    // Moves the keys to another field, the cursor to where the click falls.
    Action clickField(Dice& dice) {
        m_target = dice.below(fieldCount);
        QLineEdit* f = field(m_target);
        const QPoint at(1 + dice.below(f->width() - 2), f->height() / 2);
        Action action("click " + fieldName(m_target) + " at x=" + std::to_string(at.x()));
        action.field = m_target;
        action.expectedText = f->text();
        QTest::mouseClick(f, Qt::LeftButton, {}, at);
        return action;
    }

    static QString pasteText(Dice& dice, std::string& kind) {
        const int roll = dice.below(100);
        if (roll < 40) {
            kind = "edge text";
            return QString::fromUtf8(dice.pick(edgeTexts));
        }
        if (roll < 50) {
            // Beyond the double range as it stands or read as hexadecimal; a
            // long but finite mantissa once a point or a zero comes first.
            kind = "10000 digits";
            QByteArray digits(10000, '0');
            for (char& digit : digits)
                digit = static_cast<char>('0' + dice.below(10));
            const int shape = dice.below(5);
            if (shape == 1)
                digits[1 + dice.below(400)] = '.';
            else if (shape == 2)
                digits.prepend("-0.");
            else if (shape == 3)
                digits.prepend('-');
            else if (shape == 4)
                digits.prepend("&H");
            return QString::fromLatin1(digits);
        }
        if (roll < 75) {
            kind = "random bytes";
            QByteArray bytes(dice.below(300), '\0');
            for (char& byte : bytes)
                byte = static_cast<char>(dice.below(256));
            return dice.percent(50) ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
        }
        kind = "number-like text";
        static const char alphabet[] = "0123456789012345678901234567890123456789..,eE--+&HO x";
        QString text;
        for (int n = 1 + dice.below(30); n > 0; --n)
            text += QLatin1Char(alphabet[dice.below(sizeof alphabet - 1)]);
        return text;
    }

    Action paste(Dice& dice) {
        std::string kind;
        const QString clip = pasteText(dice, kind);
        const bool overAll = dice.percent(70);
        Action action((overAll ? "paste over all of " : "paste at the cursor of ") +
                      fieldName(m_target) + ": " + kind + " " + describe(clip));
        action.field = m_target;
        QLineEdit* f = field(m_target);
        QGuiApplication::clipboard()->setText(clip);
        if (overAll)
            QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
        if (locked(m_target))
            action.expectedText = f->text();
        else if (predictable(f))
            action.expectedText = afterInsert(f, clip);
        QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
        return action;
    }

    // Undo, redo and cut: an open field may change in any way, a locked one not at all.
    Action editByShortcut(Dice& dice) {
        const struct {
            Qt::Key key;
            const char* name;
        } shortcuts[] = {{Qt::Key_Z, "Ctrl+Z"}, {Qt::Key_Y, "Ctrl+Y"}, {Qt::Key_X, "Ctrl+X"}};
        const auto& shortcut = dice.pick(shortcuts);
        Action action(shortcut.name + (" in " + fieldName(m_target)));
        action.field = m_target;
        if (locked(m_target))
            action.expectedText = field(m_target)->text();
        QTest::keyClick(field(m_target), shortcut.key, Qt::ControlModifier);
        return action;
    }

    Action chooseUnitByKey(Dice& dice) {
        const struct {
            Qt::Key key;
            const char* name;
        } keys[] = {{Qt::Key_Home, "Home"},
                    {Qt::Key_End, "End"},
                    {Qt::Key_Up, "Up"},
                    {Qt::Key_Down, "Down"}};
        const int l = dice.below(listCount);
        const auto& key = dice.pick(keys);
        Action action(std::string(key.name) + " on " + listName(l));
        action.list = l;
        const int index = list(l)->currentIndex();
        const int last = list(l)->count() - 1;
        if (isResultList(m_mode, l))
            action.expectedUnit = index;  // a locked list refuses the key
        else if (key.key == Qt::Key_Home)
            action.expectedUnit = 0;
        else if (key.key == Qt::Key_End)
            action.expectedUnit = last;
        else
            action.expectedUnit = std::clamp(index + (key.key == Qt::Key_Down ? 1 : -1), 0, last);
        QTest::keyClick(list(l), key.key);
        return action;
    }

    Action switchMode(Dice& dice) {
        static const char* const names[] = {"Time", "Speed", "Data"};
        m_mode = dice.below(3);
        chooseMode(m_mode);
        return Action(std::string("click ") + names[m_mode] + " under Calculate:");
    }

    Action openAndCloseAbout() {
        Action action("About box, closed with Esc");
        bool opened = false;
        bool closed = false;
        // A timer of our own, destroyed on return: if the box never opens, the
        // step cannot fire later, inside some other action.
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box)
                return;
            opened = true;
            QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
            closed = !box->isVisible();
            if (!closed)
                box->done(QDialog::Rejected);
        });
        timer.start(0);
        QTest::mouseClick(m_logo, Qt::LeftButton, {}, m_logo->rect().center());
        if (!opened)
            action.failure = "the logo opened no About box";
        else if (!closed)
            action.failure = "Esc did not close the About box";
        else if (QApplication::activeModalWidget())
            action.failure = "a modal window is still open";
        ++m_aboutOpenings;
        return action;
    }

    // Empty when the window shows all it should after the action, else what is wrong.
    std::string verify(const Action& action, const State& before, const State& after) {
        if (!action.failure.empty())
            return action.failure;
        for (int i = 0; i < 3; ++i)
            if (m_options[static_cast<std::size_t>(i)]->isChecked() != (i == m_mode))
                return "mode button " + std::to_string(i) + " wrong after choosing mode " +
                       std::to_string(m_mode);
        for (int f = 0; f < fieldCount; ++f)
            if (field(f)->isReadOnly() != locked(f))
                return fieldName(f) + (locked(f) ? " is open" : " is locked");

        if (action.field >= 0) {
            const QString& now = after.text(action.field);
            if (action.expectedText && now != *action.expectedText)
                return fieldName(action.field) + (locked(action.field) ? " (locked)" : "") +
                       " holds " + describe(now) + ", expected " + describe(*action.expectedText);
            if (action.mayOnlyShrink && now.size() > before.text(action.field).size())
                return fieldName(action.field) + " grew on a deletion";
        }
        if (action.list >= 0 && action.expectedUnit &&
            after.unit(action.list) != *action.expectedUnit)
            return listName(action.list) + " moved to " + std::to_string(after.unit(action.list)) +
                   ", expected " + std::to_string(*action.expectedUnit);

        for (int f = 0; f < fieldCount; ++f)
            if (!locked(f) && f != action.field && after.text(f) != before.text(f))
                return fieldName(f) + " changed, untouched";
        for (int l = 0; l < listCount; ++l)
            if (!isResultList(m_mode, l) && l != action.list && after.unit(l) != before.unit(l))
                return listName(l) + " changed, untouched";

        // One calculation per change of an input, and one more nested in each
        // move of the result's unit; none in the other modes.
        int expectedRuns = 0;
        for (int f = 0; f < fieldCount; ++f)
            if (!locked(f))
                expectedRuns += m_textSignals[static_cast<std::size_t>(f)];
        for (const int count : m_unitSignals)
            expectedRuns += count;
        for (std::size_t mode = 0; mode < 3; ++mode) {
            const int ran = after.runs[mode] - before.runs[mode];
            const int expected = static_cast<int>(mode) == m_mode ? expectedRuns : 0;
            if (ran != expected)
                return "mode " + std::to_string(mode) + " calculated " + std::to_string(ran) +
                       " times, expected " + std::to_string(expected);
        }
        if (expectedRuns == 0)
            return resultsUnchanged(before, after);
        return compareWithFreshCalculation(before, after);
    }

    std::string resultsUnchanged(const State& before, const State& after) const {
        for (int f = 0; f < fieldCount; ++f)
            if (locked(f) && after.text(f) != before.text(f))
                return fieldName(f) + " changed from " + describe(before.text(f)) + " to " +
                       describe(after.text(f)) + " with nothing to write";
        for (int l = 0; l < listCount; ++l)
            if (isResultList(m_mode, l) && after.unit(l) != before.unit(l))
                return listName(l) + " moved with nothing to write";
        return {};
    }

    // What the program writes is a plain number: whole counts for years to
    // minutes, at most two decimals otherwise, an exponent only from 1E+15 up.
    // So never 'inf' or 'nan', and no '-0'.
    static std::string badResultText(const QString& text, bool wholeCount) {
        static const QRegularExpression count(QStringLiteral("^-?[0-9]+$"));
        static const QRegularExpression figure(
            QStringLiteral("^-?[0-9]+(\\.[0-9]{1,2})?$|^-?[0-9](\\.[0-9]+)?E\\+[0-9]+$"));
        if ((wholeCount ? count : figure).match(text).hasMatch() && text != QLatin1String("-0"))
            return {};
        return "the program wrote " + describe(text);
    }

    std::string compareWithFreshCalculation(const State& before, const State& after) {
        for (int l = 0; l < listCount; ++l)
            if (after.unit(l) < 0 || after.unit(l) >= list(l)->count())
                return listName(l) + " has no valid selection";
        const auto utf8 = [&](int f) { return after.text(f).toStdString(); };
        const auto dataMultiplier =
            core::DataSizeUnits[static_cast<std::size_t>(after.unit(0))].multiplier;
        const auto speedMultiplier =
            core::SpeedUnits[static_cast<std::size_t>(after.unit(1))].multiplier;
        std::array<std::string, 6> time;
        core::TimeTexts timeViews;
        for (std::size_t i = 0; i < time.size(); ++i) {
            time[i] = utf8(2 + static_cast<int>(i));
            timeViews[i] = time[i];
        }

        if (m_mode == 0) {
            const auto expected =
                core::CalculateTime(utf8(0), dataMultiplier, utf8(1), speedMultiplier);
            if (!expected) {
                ++m_wroteNothing;
                return resultsUnchanged(before, after);
            }
            for (int i = 0; i < 6; ++i) {
                const QString& shown = after.text(2 + i);
                const std::string& fresh = (*expected)[static_cast<std::size_t>(i)];
                if (shown != QString::fromStdString(fresh))
                    return fieldName(2 + i) + " shows " + describe(shown) +
                           ", a fresh calculation gives '" + fresh + "'";
                if (auto bad = badResultText(shown, i < 5); !bad.empty())
                    return bad;
            }
            return {};
        }

        const bool speed = m_mode == 1;
        const auto expected = speed ? core::CalculateSpeed(utf8(0), dataMultiplier, timeViews)
                                    : core::CalculateData(utf8(1), speedMultiplier, timeViews);
        if (!expected) {
            ++m_wroteNothing;
            return resultsUnchanged(before, after);
        }
        const int result = speed ? 1 : 0;
        const int unit = expected->unitIndex.value_or(before.unit(result));
        if (after.text(result) != QString::fromStdString(expected->text) ||
            after.unit(result) != unit)
            return fieldName(result) + " shows " + describe(after.text(result)) + " in unit " +
                   std::to_string(after.unit(result)) + ", a fresh calculation gives '" +
                   expected->text + "' in unit " + std::to_string(unit);
        return badResultText(after.text(result), false);
    }

    std::array<QLineEdit*, fieldCount> m_fields{};
    std::array<QComboBox*, listCount> m_lists{};
    std::array<QRadioButton*, 3> m_options{};
    QLabel* m_logo = nullptr;
    std::array<int, fieldCount> m_textSignals{};
    std::array<int, listCount> m_unitSignals{};
    int m_mode = 0;    // the mode last chosen; the window starts in Time mode
    int m_target = 0;  // the field the keys go to
    int m_wroteNothing = 0;
    int m_aboutOpenings = 0;
};

TEST_F(StressTest, SurvivesRandomUserActions) {
    const QByteArray chosenSeed = qgetenv("VELMORA_STRESS_SEED");
    const auto seed =
        chosenSeed.isEmpty() ? fixedSeed : static_cast<std::uint32_t>(chosenSeed.toULong());
    const int chosenCount = qEnvironmentVariableIntValue("VELMORA_STRESS_ACTIONS");
    const int actionCount = chosenCount > 0 ? chosenCount : defaultActionCount;
    const bool trace = qEnvironmentVariableIntValue("VELMORA_STRESS_TRACE") != 0;
    std::cout << "[ stress   ] seed " << seed << ", " << actionCount << " actions" << std::endl;
    Dice dice(seed);
    std::deque<std::string> recent;  // for the failure report
    QElapsedTimer clock;
    clock.start();
    for (int index = 0; index < actionCount; ++index) {
        const State before = capture();
        m_textSignals.fill(0);
        m_unitSignals.fill(0);
        if (trace)
            std::cout << index << ": " << std::flush;
        const Action action = act(dice);
        if (trace)
            std::cout << action.what << std::endl;
        recent.push_back(std::to_string(index) + ": " + action.what);
        if (recent.size() > 12)
            recent.pop_front();
        if (const std::string failure = verify(action, before, capture()); !failure.empty()) {
            std::string trail;
            for (const auto& line : recent)
                trail += "\n  " + line;
            FAIL() << "seed " << seed << ", action " << index << ": " << failure
                   << "\nlast actions:" << trail;
        }
        // Let the window paint now and then, as the event loop would.
        if (index % 500 == 499)
            QCoreApplication::processEvents();
    }
    const auto calculations =
        runs(core::CalcMode::Time) + runs(core::CalcMode::Speed) + runs(core::CalcMode::Data);
    std::cout << "[ stress   ] " << actionCount << " actions in " << clock.elapsed()
              << " ms: " << calculations << " calculations, " << m_wroteNothing
              << " of them wrote nothing; " << m_aboutOpenings << " About boxes" << std::endl;

    // And the window still answers an ordinary edit with the ordinary result.
    chooseMode(0);
    typeInto(speedBox(), "1");
    chooseUnit(speedUnitList(), 0);
    chooseUnit(sizeUnitList(), 2);
    typeInto(dataSizeBox(), "1");
    EXPECT_EQ(timeTexts(), times({"0", "1", "5", "3", "16", "16"}));
}

}  // namespace
}  // namespace velmora::testing
