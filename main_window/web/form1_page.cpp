#include "main_window/web/form1_page.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "core/units.h"
#include "design/fonts.h"
#include "design/twips.h"
#include "design/web/web_design.h"
#include "main_window/form1_design.h"
#include "main_window/form1_phone_design.h"
#include "main_window/form1_rules.h"

namespace velmora {

namespace css = design::web;

namespace {

// Where the style sheet lays the window out in the phone arrangement
// (app/web/velmora.css).
constexpr std::string_view PhoneArrangement =
    "(max-width: 30em), (pointer: coarse) and (min-height: 30.01em)";

// How wide the window draws a control, for a picture's sizes: as the style
// sheet sizes the window, in dialog units at the reader's size, or smaller
// where it shrinks to the screen's width or height (its frame and title 6
// by 24 units more); on a touch screen as large as it fits.
std::string windowWidths(const ControlDesign& c) {
    using design::TwipsPerPixel;
    const double units = static_cast<double>(c.place.width) / TwipsPerPixel;
    const double dialogPx = design::WindowsDialogFont.pointSize * design::StandardDpi / 72.0;
    char fits[128];
    std::snprintf(fits, sizeof fits, "calc((100vw - 16px) * %.4g), calc((100vh - 16px) * %.4g)",
                  units / (Form1ClientWidth / TwipsPerPixel + 6),
                  units / (Form1ClientHeight / TwipsPerPixel + 24));
    char reader[32];
    std::snprintf(reader, sizeof reader, "%.4gem", units / dialogPx);
    return "(pointer: coarse) min(" + std::string(fits) + "), min(" + reader + ", " + fits + ")";
}

// The window's controls held in memory, so the rules' own load can run
// before there is a page.
class Form1Model final : public Form1Controls {
public:
    Form1Model() {
        for (const ControlDesign& control : Form1Design) {
            const auto field = std::find(FieldNames.begin(), FieldNames.end(), control.name);
            if (field != FieldNames.end() && control.kind == ControlKind::TextBox)
                texts[static_cast<std::size_t>(field - FieldNames.begin())] = control.caption;
        }
    }

    std::string text(Field textBox) const override { return texts[slot(textBox)]; }
    void setText(Field textBox, const std::string& text) override {
        if (texts[slot(textBox)] == text)
            return;
        texts[slot(textBox)] = text;
        rules.Raise(textBox);
    }
    std::int32_t itemData(Field list) const override {
        const int index = listIndex[list == Field::SizeUnit ? 0 : 1];
        if (index < 0)
            return 0;
        return list == Field::SizeUnit
                   ? core::DataSizeUnits[static_cast<std::size_t>(index)].multiplier
                   : core::SpeedUnits[static_cast<std::size_t>(index)].multiplier;
    }
    void setListIndex(Field list, int index) override {
        int& current = listIndex[list == Field::SizeUnit ? 0 : 1];
        if (current == index)
            return;
        current = index;
        rules.Raise(list);
    }
    bool modeChosen(core::CalcMode mode) const override { return mode == core::CalcMode::Time; }
    void setLocked(Field control, bool isLocked) override { locked[slot(control)] = isLocked; }
    void setBackColor(Field control, design::Rgb colour) override {
        colours[slot(control)] = colour;
    }
    // Whole numbers only at load, which read the same in every language.
    std::string decimalSeparator() const override { return "."; }
    void showAboutModal() override {}

    static std::size_t slot(Field field) { return static_cast<std::size_t>(field); }

    Form1Rules rules{*this};
    std::array<std::string, 10> texts;
    std::array<int, 2> listIndex{-1, -1};
    std::array<bool, 10> locked{};
    std::array<design::Rgb, 10> colours{};
};

// The captions that name a field, so that a click on one focuses its field.
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> LabelFor{{
    {"Label1", "Text1"},
    {"Label2", "Text2"},
    {"Label7", "Text3(0)"},
    {"Label8", "Text3(1)"},
    {"Label9", "Text3(2)"},
    {"Label4", "Text3(3)"},
    {"Label5", "Text3(4)"},
    {"Label6", "Text3(5)"},
}};

std::string_view alignment(Alignment a) {
    switch (a) {
    case Alignment::Centre:
        return "center";
    case Alignment::Right:
        return "right";
    case Alignment::Left:
        break;
    }
    return "left";
}

std::string OptionLabelId(std::string_view option) { return std::string(option) + "-label"; }

std::string attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + css::Html(value) + "\"";
}

template <std::size_t N>
std::string options(const std::array<core::Unit, N>& units, int selected) {
    std::string html;
    for (std::size_t i = 0; i < units.size(); ++i) {
        html += "<option" + attribute("value", std::to_string(units[i].multiplier));
        if (static_cast<int>(i) == selected)
            html += " selected";
        html += ">" + css::Html(units[i].text) + "</option>";
    }
    return html;
}

// The colour the window's load leaves, by its name in the style sheet.
std::string backColour(const Form1Model& model, Field field) {
    return attribute("data-back", css::BackColourName(model.colours[Form1Model::slot(field)]));
}

// A size or speed is heard with the unit its list shows.
std::string unitDescription(const Form1Model& model, Field field) {
    if (field == Field::DataSize)
        return attribute(
            "aria-description",
            core::DataSizeUnits[static_cast<std::size_t>(std::max(0, model.listIndex[0]))].text);
    if (field == Field::Speed)
        return attribute(
            "aria-description",
            core::SpeedUnits[static_cast<std::size_t>(std::max(0, model.listIndex[1]))].text);
    return {};
}

// The fields take input from the start: the page notes it until the
// program is ready (app/web/early.js).
std::string control(const Form1Model& model, const ControlDesign& c) {
    const auto fieldAt = std::find(FieldNames.begin(), FieldNames.end(), c.name);
    const auto field = static_cast<Field>(fieldAt - FieldNames.begin());
    const std::string name = attribute("id", c.name);
    switch (c.kind) {
    case ControlKind::TextBox:
        return "<input type=\"text\" class=\"field\"" + name +
               attribute("aria-label", c.accessibleName) + unitDescription(model, field) +
               attribute("value", model.texts[Form1Model::slot(field)]) + backColour(model, field) +
               " inputmode=\"decimal\" autocomplete=\"off\" spellcheck=\"false\"" +
               (model.locked[Form1Model::slot(field)] ? " readonly" : "") + ">\n";
    case ControlKind::List: {
        const bool first = field == Field::SizeUnit;
        const int selected = model.listIndex[first ? 0 : 1];
        const bool locked = model.locked[Form1Model::slot(field)];
        return "<select class=\"field\"" + name +
               attribute("aria-label", css::ListName(c.accessibleName, locked)) +
               backColour(model, field) + attribute("aria-readonly", locked ? "true" : "false") +
               ">" +
               (first ? options(core::DataSizeUnits, selected)
                      : options(core::SpeedUnits, selected)) +
               "</select>\n";
    }
    case ControlKind::Option:
        // The label is the button's target and place; the input keeps the name.
        return "<label class=\"option\"" + attribute("id", OptionLabelId(c.name)) +
               "><input type=\"radio\" name=\"Option1\"" + name +
               (c.name == "Option1(0)" ? " checked" : "") + "><span>" + css::Html(c.caption) +
               "</span></label>\n";
    case ControlKind::Picture:
        // A picture of the shape each arrangement draws, sharp on every
        // screen: on a phone the logo's own (about 30% of the screen's
        // width), in the window stretched to its designed place.
        return "<picture><source media=\"" + std::string(PhoneArrangement) +
               "\" srcset=\"logo.png 250w, logo-2x.png 500w\" sizes=\"30vw\">"
               "<img" +
               name +
               " src=\"logo-window.png\" srcset=\"logo-window.png 105w, "
               "logo-window-2x.png 210w, logo-window-3x.png 315w\" sizes=\"" +
               windowWidths(c) + "\" role=\"button\"" + attribute("alt", c.accessibleName) +
               attribute("title", LogoToolTip) + " draggable=\"false\"></picture>\n";
    case ControlKind::Label: {
        const auto target = std::find_if(LabelFor.begin(), LabelFor.end(),
                                         [&](const auto& p) { return p.first == c.name; });
        const std::string kind = IsSmallCaption(c.name) ? "label small" : "label";
        if (target != LabelFor.end())
            return "<label" + attribute("class", kind) + name + attribute("for", target->second) +
                   ">" + css::Html(c.caption) + "</label>\n";
        return "<span" + attribute("class", kind) + name + ">" + css::Html(c.caption) + "</span>\n";
    }
    case ControlKind::Frame:
        break;
    }
    return {};
}

// The window as its load leaves it, which both the HTML and the style show.
const Form1Model& loaded() {
    // Built in place: its rules hold a reference to it.
    static Form1Model model;
    static const bool ran = (model.rules.loaded(), true);
    (void)ran;
    return model;
}

}  // namespace

std::string Form1Html() {
    const Form1Model& model = loaded();

    // Tab order is document order. A caption that names a field stands
    // beside it, so that a screen reader reads them together: the row
    // captions before their field, the time captions after theirs. The logo
    // never takes the focus; it comes first, so that the small captions
    // paint over its lower edge.
    const auto tabIndexOf = [](std::string_view name) {
        return std::find_if(Form1Design.begin(), Form1Design.end(),
                            [&](const ControlDesign& c) { return c.name == name; })
            ->tabIndex;
    };
    const auto readingPlace = [&](const ControlDesign* c) {
        if (c->name == "Label3")
            return tabIndexOf("Text3(3)") - 0.5;
        const auto named = std::find_if(LabelFor.begin(), LabelFor.end(),
                                        [&](const auto& p) { return p.first == c->name; });
        if (named == LabelFor.end())
            return static_cast<double>(c->tabIndex);
        const bool rowCaption = named->second == "Text1" || named->second == "Text2";
        return tabIndexOf(named->second) + (rowCaption ? -0.5 : 0.5);
    };
    std::vector<const ControlDesign*> order;
    for (const ControlDesign& c : Form1Design)
        order.push_back(&c);
    std::stable_sort(order.begin(), order.end(),
                     [&](const ControlDesign* a, const ControlDesign* b) {
                         return readingPlace(a) < readingPlace(b);
                     });

    std::string html =
        "<main id=\"Form1\" class=\"window\" aria-labelledby=\"Form1-title\">\n"
        // The icon at 16 units: 24 CSS pixels at the default size.
        "<div class=\"titlebar\"><img class=\"titleicon\" src=\"icon-32.png\" "
        "srcset=\"icon-48.png 2x, icon-192.png 4x\" alt=\"\">"
        "<h1 id=\"Form1-title\">" +
        css::Html(Form1Caption) + "</h1></div>\n<div class=\"client\">\n";
    bool inFrame = false;
    for (const ControlDesign* c : order) {
        if (inFrame && c->kind != ControlKind::Option) {
            html += "</fieldset>\n";
            inFrame = false;
        }
        if (c->kind == ControlKind::Frame) {
            html += "<fieldset class=\"frame\"" + attribute("id", c->name) + "><legend>" +
                    css::Html(c->caption) + "</legend>\n";
            inFrame = true;
            continue;
        }
        html += control(model, *c);
    }
    if (inFrame)
        html += "</fieldset>\n";
    // A result, once typing pauses, and a refused key (main_window/web).
    html += "</div>\n<p id=\"Form1-spoken\" class=\"spoken\" aria-live=\"polite\"></p>\n</main>\n";
    return html;
}

std::string Form1Css() {
    // Every colour the rules give a field; the program names one per field.
    std::string rules =
        css::CssBackColourRule(ResultBackColour) + css::CssBackColourRule(InputBackColour);
    rules += css::CssRule(
        "Form1", "--client-w:" + std::to_string(Form1ClientWidth / design::TwipsPerPixel) +
                     ";--client-h:" + std::to_string(Form1ClientHeight / design::TwipsPerPixel) +
                     ";--phone-columns:" + std::to_string(Form1PhoneColumns));
    for (const ControlDesign& c : Form1Design) {
        const PhoneCell& cell = *std::find_if(Form1PhoneDesign.begin(), Form1PhoneDesign.end(),
                                              [&](const PhoneCell& p) { return p.name == c.name; });
        std::string declarations = css::CssPlaceVariables(c.place) + ";" +
                                   css::CssCellVariables(cell.row, cell.column, cell.columnSpan);
        if (c.kind == ControlKind::Label)
            declarations += ";--align:" + std::string(alignment(c.alignment));
        rules += css::CssRule(
            c.kind == ControlKind::Option ? OptionLabelId(c.name) : std::string(c.name),
            declarations);
    }
    return rules;
}

}  // namespace velmora
