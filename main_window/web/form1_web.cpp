#include "main_window/web/form1_web.h"

#include <charconv>
#include <string_view>

#include "about/web/about_web.h"
#include "design/web/dom.h"
#include "main_window/form1_design.h"

namespace velmora {

namespace web = design::web;

namespace {

std::string_view id(Field field) { return FieldNames[static_cast<std::size_t>(field)]; }

std::size_t slot(Field field) { return static_cast<std::size_t>(field); }

std::size_t listSlot(Field list) { return list == Field::Combo1 ? 0 : 1; }

constexpr std::array<std::string_view, 3> Option1Ids{"Option1(0)", "Option1(1)", "Option1(2)"};

}  // namespace

Form1Web::Form1Web() : m_rules(*this), m_decimalSeparator(web::DecimalSeparator()) {}

void Form1Web::load() {
    for (const Field list : {Field::Combo1, Field::Combo2})
        m_acceptedIndex[listSlot(list)] = web::SelectedIndex(id(list));
    m_rules.Form_Load();
    listen();
    followAddress();
}

void Form1Web::listen() {
    for (int i = 0; i < 6; ++i)
        web::Listen(id(Text3(i)), "input", [this, i] { m_rules.Text3_Change(i); return false; });
    web::Listen(id(Field::Text1), "input", [this] { m_rules.Text1_Change(); return false; });
    web::Listen(id(Field::Text2), "input", [this] { m_rules.Text2_Change(); return false; });

    for (const Field list : {Field::Combo1, Field::Combo2}) {
        const auto locked = [this, list] { return m_locked[slot(list)]; };
        // A locked list keeps its place in the focus order and nothing else.
        web::ListenKeys(id(list), [locked](web::Key key) {
            return locked() && key != web::Key::Tab && key != web::Key::F1 &&
                   key != web::Key::Modifier;
        });
        // A press still focuses it, which the cancelled press would not.
        web::Listen(id(list), "pointerdown", [list, locked] {
            if (!locked())
                return false;
            web::Focus(id(list));
            return true;
        });
        for (const std::string_view type : {"mousedown", "touchstart", "wheel"})
            web::Listen(id(list), type, locked);
        web::Listen(id(list), "change", [this, list] {
            if (m_locked[slot(list)])
                web::SetSelectedIndex(id(list), m_acceptedIndex[listSlot(list)]);
            else
                raiseClick(list);
            return false;
        });
    }

    for (int i = 0; i < static_cast<int>(Option1Ids.size()); ++i)
        web::Listen(Option1Ids[static_cast<std::size_t>(i)], "change", [this, i] {
            if (option1Value(i))
                m_rules.Option1_Click(i);
            return false;
        });

    web::Listen("Image1", "click", [this] { m_rules.Image1_Click(); return false; });
    // A click on the logo leaves the focus where it was, as on the desktop.
    web::Listen("Image1", "mousedown", [] { return true; });
    // F1 opens the About box from anywhere, instead of the browser's help.
    web::ListenKeys("", [this](web::Key key) {
        if (key != web::Key::F1)
            return false;
        m_rules.Image1_Click();
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

bool Form1Web::option1Value(int index) const {
    return web::Checked(Option1Ids[static_cast<std::size_t>(index)]);
}

void Form1Web::setLocked(Field control, bool locked) {
    m_locked[slot(control)] = locked;
    web::SetLocked(id(control), locked);
}

void Form1Web::setBackColor(Field control, design::Rgb colour) {
    web::SetBackColour(id(control), colour);
}

void Form1Web::showAboutModal() { about::web::Show(); }

void Form1Web::raiseClick(Field list) {
    m_acceptedIndex[listSlot(list)] = web::SelectedIndex(id(list));
    m_rules.Raise(list);
}

}  // namespace velmora
