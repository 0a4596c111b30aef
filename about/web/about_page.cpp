#include "about/web/about_page.h"

#include "about/about_design.h"
#include "design/web/web_design.h"

namespace velmora::about {

namespace css = design::web;

namespace {

std::string attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + css::Html(value) + "\"";
}

std::string rule(const RuleDesign& line) {
    // A stroke drawn inside its place: the twips of its pixel width.
    const design::TwipsRect place{line.x1, line.y1, line.x2 - line.x1,
                                  line.widthPixels * design::TwipsPerPixel};
    return "<div class=\"rule\" aria-hidden=\"true\"" + attribute("id", line.name) +
           attribute("style", css::CssPlace(place) + ";--rule:" + css::CssColour(line.colour)) +
           "></div>\n";
}

}  // namespace

std::string AboutHtml() {
    const LoadedCaptions captions = Form_Load();
    std::string html = "<dialog id=\"frmAbout\" class=\"window\" aria-labelledby=\"frmAbout-title\">\n"
                       "<div class=\"titlebar\"><h2 id=\"frmAbout-title\">" +
                       css::Html(captions.window) +
                       "</h2><button type=\"button\" id=\"frmAbout-close\" class=\"closebox\" "
                       "tabindex=\"-1\" aria-label=\"Close\">&#x2715;</button></div>\n"
                       "<div class=\"client\"" +
                       attribute("style", "width:" + css::CssLength(ClientWidth) +
                                              ";height:" + css::CssLength(ClientHeight)) +
                       ">\n";
    html += "<button type=\"button\" id=\"cmdOK\"" + attribute("style", css::CssPlace(cmdOK)) + ">" +
            css::Html(OkCaption) + "</button>\n";
    html += "<img id=\"picIcon\" class=\"sunken\" src=\"logo.png\" tabindex=\"0\"" +
            attribute("alt", LogoAccessibleName) + attribute("style", css::CssPlace(picIcon)) +
            " draggable=\"false\">\n";
    for (const LabelDesign& label : Labels) {
        std::string caption(label.caption);
        if (label.name == "lblTitle")
            caption = captions.title;
        else if (label.name == "lblVersion")
            caption = captions.version;
        html += "<p" + attribute("class", label.black ? "label black" : "label") +
                attribute("id", label.name) + attribute("style", css::CssPlace(label.place)) + ">" +
                css::Html(caption) + "</p>\n";
    }
    for (const RuleDesign& line : Rule)
        html += rule(line);
    html += "</div>\n</dialog>\n";
    return html;
}

}  // namespace velmora::about
