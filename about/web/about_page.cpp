#include "about/web/about_page.h"

#include <algorithm>
#include <string>

#include "about/about_design.h"
#include "design/web/web_design.h"

namespace velmora::about {

namespace css = design::web;

namespace {

std::string attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + css::Html(value) + "\"";
}

// A stroke drawn inside its place: the twips of its pixel width.
design::TwipsRect place(const RuleDesign& line) {
    return {line.x1, line.y1, line.x2 - line.x1, line.widthPixels * design::TwipsPerPixel};
}

std::string rule(const RuleDesign& line) {
    return "<div class=\"rule\" aria-hidden=\"true\"" + attribute("id", line.name) + "></div>\n";
}

// Where a control goes in the phone arrangement: one column, in PhoneOrder.
std::string placed(std::string_view name, design::TwipsRect designed) {
    const auto row = std::find(PhoneOrder.begin(), PhoneOrder.end(), name) - PhoneOrder.begin() + 1;
    return css::CssPlaceVariables(designed) + ";" +
           css::CssCellVariables(static_cast<int>(row), 1, 1);
}

}  // namespace

// In the box's visual order, top to bottom, as browse mode reads it; the
// focus goes to OK on opening, and Tab is the box's own. Its lines are said
// as it opens, through a live region of its own (about_web.cpp).
std::string AboutHtml() {
    const LoadedCaptions captions = CaptionsOnLoad();
    std::string html =
        "<dialog id=\"frmAbout\" class=\"window\" aria-labelledby=\"frmAbout-title\">\n"
        "<div class=\"titlebar\"><h2 id=\"frmAbout-title\">" +
        css::Html(captions.window) +
        "</h2><button type=\"button\" id=\"frmAbout-close\" class=\"closebox\" "
        "tabindex=\"-1\" aria-label=\"Close\">&#x2715;</button></div>\n"
        "<div class=\"client\">\n";
    for (const std::string_view name : PhoneOrder) {
        if (name == "cmdOK") {
            html += "<button type=\"button\" id=\"cmdOK\">" + css::Html(OkCaption) + "</button>\n";
        } else if (name == "picIcon") {
            html += "<img id=\"picIcon\" class=\"sunken\" src=\"logo.png\" tabindex=\"0\"" +
                    attribute("alt", LogoAccessibleName) + " draggable=\"false\">\n";
        } else if (const auto label =
                       std::find_if(Labels.begin(), Labels.end(),
                                    [&](const LabelDesign& l) { return l.name == name; });
                   label != Labels.end()) {
            std::string caption(label->caption);
            if (label->name == "lblTitle")
                caption = captions.title;
            else if (label->name == "lblVersion")
                caption = captions.version;
            html += "<p" + attribute("class", label->black ? "label black" : "label") +
                    attribute("id", label->name) + ">" + css::Html(caption) + "</p>\n";
        } else {
            html += rule(*std::find_if(Rule.begin(), Rule.end(),
                                       [&](const RuleDesign& r) { return r.name == name; }));
        }
    }
    html +=
        "</div>\n<p id=\"frmAbout-spoken\" class=\"spoken\" aria-live=\"polite\"></p>\n</dialog>\n";
    return html;
}

std::string AboutCss() {
    std::string rules = css::CssRule(
        "frmAbout", "--client-w:" + std::to_string(ClientWidth / design::TwipsPerPixel) +
                        ";--client-h:" + std::to_string(ClientHeight / design::TwipsPerPixel));
    rules += css::CssRule("cmdOK", placed("cmdOK", OkButtonPlace));
    rules += css::CssRule("picIcon", placed("picIcon", LogoPlace));
    for (const LabelDesign& label : Labels)
        rules += css::CssRule(label.name, placed(label.name, label.place));
    for (const RuleDesign& line : Rule)
        rules += css::CssRule(
            line.name, placed(line.name, place(line)) + ";--rule:" + css::CssColour(line.colour));
    return rules;
}

}  // namespace velmora::about
