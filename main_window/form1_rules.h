#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/calculations.h"
#include "design/colours.h"

namespace velmora {

// The controls whose lock and colour follow the mode, in the order a mode
// change writes them.
enum class Field { Text3_0, Text3_1, Text3_2, Text3_3, Text3_4, Text3_5, Text1, Text2, Combo1, Combo2 };

constexpr Field Text3(int index) { return static_cast<Field>(index); }

inline constexpr design::Rgb OutputBackColor{255, 189, 197};
inline constexpr design::Rgb InputBackColor{255, 255, 255};

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
    virtual bool option1Value(int index) const = 0;
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

    void Form_Load();
    void Option1_Click(int Index);
    void Text1_Change();
    void Text2_Change();
    void Text3_Change(int Index);
    void Combo1_Click();
    void Combo2_Click();
    void Image1_Click();
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
    bool FormReady = false;
    std::array<int, 3> m_calculationRuns{};
};

}  // namespace velmora
