#include "about/web/about_web.h"

#include "about/about_design.h"
#include "design/web/dom.h"

namespace velmora::about::web {

namespace dom = design::web;

namespace {

void Unload() { dom::CloseDialog("frmAbout"); }

void cmdOK_Click() { Unload(); }

}  // namespace

void Install() {
    dom::Listen("cmdOK", "click", [] { cmdOK_Click(); return true; });
    dom::Listen("frmAbout-close", "click", [] { Unload(); return true; });
    // Esc presses the cancel button; the browser would only close the box.
    dom::Listen("frmAbout", "cancel", [] { cmdOK_Click(); return true; });
    dom::ListenKeys("frmAbout", [](dom::Key key) {
        switch (key) {
        case dom::Key::Enter:
        case dom::Key::Escape:
            // Enter presses the default button wherever the focus is.
            cmdOK_Click();
            return true;
        case dom::Key::Tab:
            dom::Focus(dom::FocusedId() == "cmdOK" ? "picIcon" : "cmdOK");
            return true;
        default:
            return false;
        }
    });
}

void Show() {
    const LoadedCaptions captions = Form_Load();
    dom::SetCaption("frmAbout-title", captions.window);
    dom::SetCaption("lblVersion", captions.version);
    dom::SetCaption("lblTitle", captions.title);
    dom::ShowModal("frmAbout", "cmdOK");
}

}  // namespace velmora::about::web
