#pragma once

#include <array>

#include "design/web/dom.h"
#include "main_window/form1_rules.h"

namespace velmora {

struct Form1Inputs;

// The main window in the browser: the page's controls under their design
// ids, driven by the same rules as on the desktop. A write that changes a
// text or a selection raises that control's handler at once, nested inside
// the write, as a desktop control does; the page itself raises nothing for a
// script's writes, only for the user's.
class Form1Web final : public Form1Controls {
public:
    Form1Web();

    // Runs the window's load and starts taking the user's input.
    void load();

    std::string text(Field textBox) const override;
    void setText(Field textBox, const std::string& text) override;
    std::int32_t itemData(Field list) const override;
    void setListIndex(Field list, int index) override;
    bool modeChosen(core::CalcMode mode) const override;
    void setLocked(Field control, bool locked) override;
    void setBackColor(Field control, design::Rgb colour) override;
    std::string decimalSeparator() const override { return m_decimalSeparator; }
    // Opens the box and returns at once: a page cannot wait for it. The box
    // is modal, so the window takes no input until it closes, and nothing
    // follows the box's opening in the rules.
    void showAboutModal() override;

private:
    void raiseClick(Field list);
    void describeUnit(Field list);
    void listen();
    // The result the mode works out, as a screen reader is to say it.
    std::string result() const;
    void sayResult();
    void sayRefused(Field list);
    // The page's address (form1_web_address.cpp): the window opens on the
    // calculation it holds, and it follows every change of the inputs.
    void followAddress();
    void applyAddress();
    Form1Inputs inputs() const;
    void inputsChanged();

    Form1Rules m_rules;
    std::string m_decimalSeparator;
    std::array<bool, 10> m_locked{};
    // The selection each list last accepted, restored should a locked list
    // change after all.
    std::array<int, 2> m_acceptedIndex{};
    // A changed result is spoken once typing pauses.
    design::web::AfterPause m_resultPause;
    std::string m_spokenResult;
};

}  // namespace velmora
