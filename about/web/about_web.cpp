#include "about/web/about_web.h"

#include <string>

#include "about/about_design.h"
#include "design/web/dom.h"

namespace velmora::about::web {

namespace dom = design::web;

namespace {

// What the box said goes with it: browse mode reads its lines once.
void Unload() {
    dom::CloseDialog("frmAbout");
    dom::SetCaption("frmAbout-spoken", "");
}

void okClicked() { Unload(); }

}  // namespace

void Install() {
    dom::Listen("cmdOK", "click", [] {
        okClicked();
        return true;
    });
    dom::Listen("frmAbout-close", "click", [] {
        Unload();
        return true;
    });
    // Esc presses the cancel button; the browser would only close the box.
    dom::Listen("frmAbout", "cancel", [] {
        okClicked();
        return true;
    });
    dom::ListenKeys("frmAbout", [](dom::Key key) {
        switch (key) {
        case dom::Key::Enter:
        case dom::Key::Escape:
            // Enter presses the default button wherever the focus is.
            okClicked();
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
    const LoadedCaptions captions = CaptionsOnLoad();
    dom::SetCaption("frmAbout-title", captions.window);
    dom::SetCaption("lblVersion", captions.version);
    dom::SetCaption("lblTitle", captions.title);
    dom::ShowModal("frmAbout", "cmdOK");
    // Its lines are said once the focus is on OK: Firefox has a screen reader
    // read only the button as the box opens, and Orca passes over lines of
    // one or two words ("Velmora", "Version 1.0.2") in a dialog.
    static const dom::AfterPause opened(300, [] {
        const LoadedCaptions loaded = CaptionsOnLoad();
        dom::Say("frmAbout-spoken", loaded.title + ". " + loaded.version + ". " +
                                        std::string(Description) + " " + std::string(Disclaimer));
    });
    opened.restart();
}

}  // namespace velmora::about::web
