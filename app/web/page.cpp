// Writes the page, index.html, at build time: the window and the About box
// from their design tables, the design's fonts, the style sheet given, and
// the script that notes the reader's first input.
//   velmora_page STYLE.css EARLY.js OUTPUT.html

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "about/web/about_page.h"
#include "design/fonts.h"
#include "design/web/web_design.h"
#include "main_window/form1_design.h"
#include "main_window/web/form1_page.h"

// Node.js's own SHA-256 for the policy's hash of the style sheet. (A script:
// clang-format would take it for C++.)
// clang-format off
EM_JS(char*, velmora_sha256_base64, (const char* text, int length), {
    const digest = require("crypto").createHash("sha256")
        .update(Buffer.from(HEAPU8.subarray(text, text + length))).digest("base64");
    return stringToNewUTF8(digest);
});
// clang-format on

namespace {

namespace css = velmora::design::web;
using velmora::design::FontDesign;

// A font of the design as a family of its own, its faces found among the
// fonts installed; sizeAdjust scales the face to the design's size.
std::string fontFace(std::string_view family, const FontDesign& font, double sizeAdjust) {
    std::string sources;
    for (const std::string_view face : font.faces) {
        if (face.empty())
            continue;
        if (!sources.empty())
            sources += ",";
        sources += "local(\"" + std::string(face) + "\")";
    }
    char adjust[32];
    std::snprintf(adjust, sizeof adjust, "%.4g%%", sizeAdjust * 100);
    return "@font-face{font-family:\"" + std::string(family) + "\";src:" + sources +
           ";size-adjust:" + adjust + "}\n";
}

std::string fonts() {
    using namespace velmora::design;
    // Sizes are the Windows design's; the Linux faces are scaled to theirs.
    return fontFace("Velmora Dialog", WindowsDialogFont, 1) +
           fontFace("Velmora Dialog Narrow", LinuxDialogFont,
                    LinuxDialogFont.pointSize / WindowsDialogFont.pointSize) +
           fontFace("Velmora Small", WindowsSmallCaptionFont, 1) +
           fontFace("Velmora Small Serif", LinuxSmallCaptionFont,
                    LinuxSmallCaptionFont.pointSize / WindowsSmallCaptionFont.pointSize) +
           ":root{--dialog-font:\"Velmora Dialog\",\"Velmora Dialog Narrow\",sans-serif;"
           "--dialog-px:" +
           css::CssPixels(WindowsDialogFont.pointSize) +
           ";--small-font:\"Velmora Small\",\"Velmora Small Serif\",serif;"
           "--small-px:" +
           css::CssPixels(WindowsSmallCaptionFont.pointSize) + "}\n";
}

std::string sha256Base64(const std::string& text) {
    char* digest = velmora_sha256_base64(text.data(), static_cast<int>(text.size()));
    std::string result(digest);
    std::free(digest);
    return result;
}

// Only the page's own files, its one style sheet and its one inline script
// by their hashes, and no other script but velmora.js; WebAssembly may
// compile.
std::string securityPolicy(const std::string& styleSheet, const std::string& script) {
    return "default-src 'self'; script-src 'self' 'wasm-unsafe-eval' 'sha256-" +
           sha256Base64(script) + "'; style-src 'sha256-" + sha256Base64(styleSheet) +
           "'; object-src 'none'; base-uri 'none'; form-action 'none'";
}

}  // namespace

bool readFile(const char* path, std::string& text) {
    std::ifstream file(path);
    std::stringstream content;
    content << file.rdbuf();
    text = content.str();
    if (!file)
        std::cerr << "velmora_page: cannot read " << path << "\n";
    return static_cast<bool>(file);
}

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: velmora_page STYLE.css EARLY.js OUTPUT.html\n";
        return 2;
    }
    std::string style, early;
    if (!readFile(argv[1], style) || !readFile(argv[2], early))
        return 1;

    const std::string title = css::Html(velmora::Form1Caption);
    const std::string styleSheet =
        "\n" + fonts() + velmora::Form1Css() + velmora::about::AboutCss() + style;
    std::ofstream page(argv[3]);
    page << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<meta http-equiv=\"Content-Security-Policy\" content=\""
         << securityPolicy(styleSheet, early)
         << "\">\n"
            "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">\n"
            "<meta name=\"color-scheme\" content=\"light dark\">\n"
            "<meta name=\"theme-color\" content=\"#0a246a\">\n"
            "<meta name=\"description\" content=\"Works out the time, the speed or the size of "
            "a data transfer from the other two, on every keystroke.\">\n"
         << "<title>" << title
         << "</title>\n"
         // The program is fetched beside the page, not after its loader, and
         // compiles while the page is parsed and painted.
         << "<link rel=\"preload\" href=\"velmora.wasm\" as=\"fetch\" type=\"application/wasm\" "
            "crossorigin>\n"
            "<script type=\"module\" src=\"velmora.js\" async></script>\n"
            // Opened from disk, what to do (app/web/disk.js).
            "<script src=\"disk.js\" defer></script>\n"
            "<link rel=\"manifest\" href=\"manifest.webmanifest\">\n"
            "<link rel=\"icon\" href=\"icon-32.png\" sizes=\"32x32\" type=\"image/png\">\n"
            "<link rel=\"apple-touch-icon\" href=\"icon-192.png\">\n"
            "<style>"
         << styleSheet
         << "</style>\n"
            // Before anything the reader can reach.
            "<script>"
         << early
         << "</script>\n"
            "</head>\n<body>\n"
            // What the page says should the program not start (app/web/start.js);
            // without script, at once; should the script never run, after a
            // few seconds, by the style sheet alone.
            "<p id=\"notice\" class=\"notice\" role=\"alert\" hidden></p>\n"
            "<noscript><p class=\"notice\">Velmora needs JavaScript, which is turned off in this "
            "browser.</p></noscript>\n"
            "<p id=\"stalled\" class=\"notice stalled\" role=\"alert\">Velmora&rsquo;s script did "
            "not arrive. Check the connection, then reload the page. Should it still not start, "
            "the "
            "server lacks Velmora&rsquo;s files, or this browser blocks its script.</p>\n"
         << velmora::Form1Html() << velmora::about::AboutHtml() << "</body>\n</html>\n";
    page.close();
    if (!page) {
        std::cerr << "velmora_page: cannot write " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
