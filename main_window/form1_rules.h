#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/calculations.h"
#include "design/colours.h"

namespace velmora {

// The controls whose lock and colour follow the mode, in the order a mode
// change writes them. The time fields come first, years to seconds, so a time
// field's index (0 to 5) is its place here.
enum class Field {
    Years,
    Weeks,
    Days,
    Hours,
    Minutes,
    Seconds,
    DataSize,
    Speed,
    SizeUnit,
    SpeedUnit
};

constexpr Field timeField(int index) { return static_cast<Field>(index); }

inline constexpr design::Rgb ResultBackColour{255, 189, 197};
inline constexpr design::Rgb InputBackColour{255, 255, 255};

// What the rules need of a toolkit's window. Writes behave as the user's
// edits do: one that changes a text or a list's selection raises that
// control's change or click at once, nested inside the write; one that
// changes nothing raises nothing.
class Form1Controls {
public:
    virtual std::string text(Field textBox) const = 0;
    virtual void setText(Field textBox, const std::string& text) = 0;
    // The multiplier carried by the list's selected item.
    virtual std::int32_t itemData(Field list) const = 0;
    virtual void setListIndex(Field list, int index) = 0;
    // Whether the option button of that quantity is the one chosen.
    virtual bool modeChosen(core::CalcMode mode) const = 0;
    virtual void setLocked(Field control, bool locked) = 0;
    virtual void setBackColor(Field control, design::Rgb colour) = 0;
    virtual std::string decimalSeparator() const = 0;
    // Returns once the box is closed.
    virtual void showAboutModal() = 0;

protected:
    ~Form1Controls() = default;
};

// The window's rules, the same on every toolkit: what a mode locks, when an
// edit recalculates, and the order of the calculation's writes.
class Form1Rules {
public:
    explicit Form1Rules(Form1Controls& controls) : m_controls(controls) {}

    // Events, named for what happened.
    void loaded();
    void calculatedQuantityChosen(core::CalcMode mode);
    void dataSizeEdited();
    void speedEdited();
    void timeEdited(int index);
    void sizeUnitChosen();
    void speedUnitChosen();
    void logoClicked();
    // The change of a text box or the click of a list, whichever it has:
    // what an adapter raises after a write that changed the control.
    void Raise(Field control);

    // How often each calculation has run; lets tests and tools see the event
    // chains, which are otherwise invisible.
    int calculationRuns(core::CalcMode mode) const {
        return m_calculationRuns[static_cast<std::size_t>(mode)];
    }

private:
    void Recalculate();
    void CalculateTime();
    void CalculateSpeed();
    void CalculateData();

    bool selected(core::CalcMode mode) const;
    void applyRole(Field control, bool isResult);
    std::array<std::string, 6> timeFieldTexts() const;

    Form1Controls& m_controls;
    bool m_loaded = false;  // nothing calculates before the window has loaded
    std::array<int, 3> m_calculationRuns{};
};

}  // namespace velmora
