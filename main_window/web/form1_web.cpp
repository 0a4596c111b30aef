#include "main_window/web/form1_web.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

#include "about/web/about_web.h"
#include "core/units.h"
#include "design/web/dom.h"
#include "design/web/web_design.h"
#include "main_window/decimal_separator.h"
#include "main_window/form1_design.h"
#include "main_window/list_lock.h"

namespace velmora {

namespace web = design::web;

namespace {

std::string_view id(Field field) { return FieldNames[static_cast<std::size_t>(field)]; }

std::size_t slot(Field field) { return static_cast<std::size_t>(field); }

std::size_t listSlot(Field list) { return list == Field::SizeUnit ? 0 : 1; }

constexpr std::array<std::string_view, 3> ModeIds{"Option1(0)", "Option1(1)", "Option1(2)"};

// The page's live region (main_window/web/form1_page.cpp).
constexpr std::string_view SpokenId = "Form1-spoken";
// A result is spoken this long after the last keystroke.
constexpr int ResultPauseMilliseconds = 1000;

std::string_view accessibleName(Field field) {
    return std::find_if(Form1Design.begin(), Form1Design.end(),
                        [&](const ControlDesign& c) { return c.name == id(field); })
        ->accessibleName;
}

// "1 second", "17 minutes", from the time field's name.
std::string timePart(const std::string& value, Field field) {
    std::string unit(accessibleName(field));
    std::transform(unit.begin(), unit.end(), unit.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (value == "1")
        unit.pop_back();
    return value + " " + unit;
}

ListKey listKey(web::Key key) {
    switch (key) {
    case web::Key::Up:
        return ListKey::Up;
    case web::Key::Down:
        return ListKey::Down;
    case web::Key::Left:
        return ListKey::Left;
    case web::Key::Right:
        return ListKey::Right;
    case web::Key::Home:
        return ListKey::Home;
    case web::Key::End:
        return ListKey::End;
    case web::Key::PageUp:
        return ListKey::PageUp;
    case web::Key::PageDown:
        return ListKey::PageDown;
    case web::Key::Space:
        return ListKey::Space;
    case web::Key::F4:
        return ListKey::F4;
    case web::Key::Character:
        return ListKey::Character;
    case web::Key::Tab:
        return ListKey::Tab;
    case web::Key::Enter:
        return ListKey::Enter;
    case web::Key::Escape:
        return ListKey::Escape;
    case web::Key::F1:
        return ListKey::F1;
    case web::Key::OtherFunction:
        return ListKey::OtherFunctionKey;
    case web::Key::Modifier:
        return ListKey::Modifier;
    case web::Key::Other:
        break;
    }
    return ListKey::Other;
}

// The browser's own keys on any control, a list's arrows among them: Back and
// Forward (Alt+Left and Alt+Right, Cmd+Left and Cmd+Right on a Mac), the
// home page (Alt+Home), the next and previous tab (Ctrl+Page Down and Up).
bool browsersOwn(const web::KeyStroke& stroke) {
    switch (stroke.key) {
    case web::Key::Left:
    case web::Key::Right:
        return stroke.alt || stroke.meta;
    case web::Key::Home:
        return stroke.alt;
    case web::Key::PageUp:
    case web::Key::PageDown:
        return stroke.control;
    default:
        return false;
    }
}

}  // namespace

// The separator every toolkit writes for the browser's language.
Form1Web::Form1Web()
    : m_rules(*this),
      m_decimalSeparator(WrittenDecimalSeparator(web::DecimalSymbol(), web::ZeroDigit())),
      m_resultPause(ResultPauseMilliseconds, [this] { sayResult(); }) {}

void Form1Web::load() {
    for (const Field list : {Field::SizeUnit, Field::SpeedUnit})
        m_acceptedIndex[listSlot(list)] = web::SelectedIndex(id(list));
    m_rules.loaded();
    for (const Field list : {Field::SizeUnit, Field::SpeedUnit})
        describeUnit(list);
    listen();
    followAddress();
    // The window opens silent: only what the reader changes is spoken.
    m_spokenResult = result();
}

// What the mode works out, with its unit or units: "Time: 17 minutes 4
// seconds", "Transfer speed: 1.33 MegaBytes/second".
std::string Form1Web::result() const {
    if (modeChosen(core::CalcMode::Speed))
        return "Transfer speed: " + text(Field::Speed) + " " +
               std::string(core::SpeedUnits[static_cast<std::size_t>(std::max(
                                                0, web::SelectedIndex(id(Field::SpeedUnit))))]
                               .text);
    if (modeChosen(core::CalcMode::Data))
        return "Data size: " + text(Field::DataSize) + " " +
               std::string(core::DataSizeUnits[static_cast<std::size_t>(std::max(
                                                   0, web::SelectedIndex(id(Field::SizeUnit))))]
                               .text);
    std::string time;
    for (int i = 0; i < 6; ++i) {
        const std::string value = text(timeField(i));
        if (value != "0")
            time += " " + timePart(value, timeField(i));
    }
    return "Time:" + (time.empty() ? " " + timePart("0", timeField(5)) : time);
}

// Spoken once typing pauses, should it differ from the last spoken.
void Form1Web::sayResult() {
    const std::string now = result();
    if (now == m_spokenResult)
        return;
    m_spokenResult = now;
    web::Say(SpokenId, now);
}

void Form1Web::listen() {
    for (int i = 0; i < 6; ++i)
        web::Listen(id(timeField(i)), "input", [this, i] {
            m_rules.timeEdited(i);
            m_resultPause.restart();
            return false;
        });
    web::Listen(id(Field::DataSize), "input", [this] {
        m_rules.dataSizeEdited();
        m_resultPause.restart();
        return false;
    });
    web::Listen(id(Field::Speed), "input", [this] {
        m_rules.speedEdited();
        m_resultPause.restart();
        return false;
    });

    for (const Field list : {Field::SizeUnit, Field::SpeedUnit}) {
        const auto locked = [this, list] { return m_locked[slot(list)]; };
        // A locked list keeps its place in the focus order; the keys that
        // would change or open it are cancelled, the browser's own pass.
        web::ListenKeyStrokes(id(list), [this, list, locked](const web::KeyStroke& stroke) {
            const KeyModifiers modifiers{stroke.shift, stroke.control, stroke.alt, stroke.meta};
            const bool refused =
                !browsersOwn(stroke) &&
                ListRefuses(ListActionOf(listKey(stroke.key), modifiers), locked());
            if (refused)
                sayRefused(list);
            return refused;
        });
        // A press or tap would open it. Cancelled, it still focuses it.
        web::Listen(id(list), "pointerdown", [this, list, locked] {
            if (!ListRefuses(ListAction::Press, locked()))
                return false;
            web::Focus(id(list));
            sayRefused(list);
            return true;
        });
        web::Listen(id(list), "mousedown",
                    [locked] { return ListRefuses(ListAction::Press, locked()); });
        // The browser's list takes no wheel and no swipe: both are left to
        // scroll the page, over a locked list as over a locked text box.
        web::Listen(id(list), "change", [this, list] {
            if (m_locked[slot(list)]) {
                web::SetSelectedIndex(id(list), m_acceptedIndex[listSlot(list)]);
            } else {
                raiseClick(list);
                m_resultPause.restart();
            }
            return false;
        });
    }

    for (int i = 0; i < static_cast<int>(ModeIds.size()); ++i)
        web::Listen(ModeIds[static_cast<std::size_t>(i)], "change", [this, i] {
            const auto mode = static_cast<core::CalcMode>(i);
            if (modeChosen(mode)) {
                m_rules.calculatedQuantityChosen(mode);
                // A new mode recalculates nothing: its result is not news.
                m_spokenResult = result();
            }
            return false;
        });

    web::TitleClippedTexts();
    web::Listen("Image1", "click", [this] {
        m_rules.logoClicked();
        return false;
    });
    // A click on the logo leaves the focus where it was, as on the desktop.
    web::Listen("Image1", "mousedown", [] { return true; });
    // F1 opens the About box from anywhere, instead of the browser's help.
    web::ListenKeys("", [this](web::Key key) {
        if (key != web::Key::F1)
            return false;
        m_rules.logoClicked();
        return true;
    });
}

std::string Form1Web::text(Field textBox) const { return web::Value(id(textBox)); }

void Form1Web::setText(Field textBox, const std::string& text) {
    if (web::Value(id(textBox)) == text)
        return;
    web::SetValue(id(textBox), text);
    m_rules.Raise(textBox);
}

std::int32_t Form1Web::itemData(Field list) const {
    const std::string value = web::SelectedValue(id(list));
    std::int32_t multiplier = 0;
    std::from_chars(value.data(), value.data() + value.size(), multiplier);
    return multiplier;
}

void Form1Web::setListIndex(Field list, int index) {
    if (web::SelectedIndex(id(list)) == index)
        return;
    web::SetSelectedIndex(id(list), index);
    raiseClick(list);
}

bool Form1Web::modeChosen(core::CalcMode mode) const {
    return web::Checked(ModeIds[static_cast<std::size_t>(mode)]);
}

void Form1Web::setLocked(Field control, bool locked) {
    m_locked[slot(control)] = locked;
    web::SetLocked(id(control), locked);
    if (control == Field::SizeUnit || control == Field::SpeedUnit)
        web::SetName(id(control), web::ListName(accessibleName(control), locked));
}

// A size or speed is heard with its unit: the field's description is the
// unit its list shows.
void Form1Web::describeUnit(Field list) {
    const bool size = list == Field::SizeUnit;
    const auto index = static_cast<std::size_t>(std::max(0, web::SelectedIndex(id(list))));
    web::SetDescription(id(size ? Field::DataSize : Field::Speed),
                        size ? core::DataSizeUnits[index].text : core::SpeedUnits[index].text);
}

// A refused key or press is answered, as a locked text box answers with
// its own sound or words.
void Form1Web::sayRefused(Field list) {
    web::Say(SpokenId, std::string(accessibleName(list)) + " is read only");
}

void Form1Web::setBackColor(Field control, design::Rgb colour) {
    web::SetBackColour(id(control), colour);
}

void Form1Web::showAboutModal() { about::web::Show(); }

void Form1Web::raiseClick(Field list) {
    m_acceptedIndex[listSlot(list)] = web::SelectedIndex(id(list));
    describeUnit(list);
    m_rules.Raise(list);
}

}  // namespace velmora
