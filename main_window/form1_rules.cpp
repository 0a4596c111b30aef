#include "main_window/form1_rules.h"

namespace velmora {

namespace {

using core::CalcMode;

core::TimeTexts views(const std::array<std::string, 6>& texts) {
    core::TimeTexts result;
    for (std::size_t i = 0; i < texts.size(); ++i)
        result[i] = texts[i];
    return result;
}

}  // namespace

void Form1Rules::Form_Load() {
    // These selections raise the lists' clicks, which calculate nothing yet.
    m_controls.setListIndex(Field::Combo1, 0);
    m_controls.setListIndex(Field::Combo2, 0);
    for (int i = 0; i < 6; ++i)
        m_controls.setLocked(Text3(i), true);
    FormReady = true;
    Option1_Click(static_cast<int>(CalcMode::Time));
    Recalculate();
}

void Form1Rules::Option1_Click(int Index) {
    const auto mode = Index == 0 ? CalcMode::Time : Index == 1 ? CalcMode::Speed : CalcMode::Data;
    for (int i = 0; i < 6; ++i)
        applyRole(Text3(i), mode == CalcMode::Time);
    applyRole(Field::Text1, mode == CalcMode::Data);
    applyRole(Field::Text2, mode == CalcMode::Speed);
    applyRole(Field::Combo1, mode == CalcMode::Data);
    applyRole(Field::Combo2, mode == CalcMode::Speed);
}

void Form1Rules::Text1_Change() {
    if (!selected(CalcMode::Data))
        Recalculate();
}

void Form1Rules::Text2_Change() {
    if (!selected(CalcMode::Speed))
        Recalculate();
}

void Form1Rules::Text3_Change(int /*Index*/) {
    if (!selected(CalcMode::Time))
        Recalculate();
}

void Form1Rules::Combo1_Click() { Recalculate(); }

void Form1Rules::Combo2_Click() { Recalculate(); }

void Form1Rules::Image1_Click() { m_controls.showAboutModal(); }

void Form1Rules::Raise(Field control) {
    switch (control) {
    case Field::Text1:
        Text1_Change();
        break;
    case Field::Text2:
        Text2_Change();
        break;
    case Field::Combo1:
        Combo1_Click();
        break;
    case Field::Combo2:
        Combo2_Click();
        break;
    default:
        Text3_Change(static_cast<int>(control));
    }
}

void Form1Rules::Recalculate() {
    if (!FormReady)
        return;
    // The mode is read from the buttons each time; nothing keeps a copy.
    if (selected(CalcMode::Time))
        CalculateTime();
    else if (selected(CalcMode::Speed))
        CalculateSpeed();
    else
        CalculateData();
}

void Form1Rules::CalculateTime() {
    ++m_calculationRuns[static_cast<std::size_t>(CalcMode::Time)];
    const auto texts = core::CalculateTime(
        m_controls.text(Field::Text1), m_controls.itemData(Field::Combo1),
        m_controls.text(Field::Text2), m_controls.itemData(Field::Combo2),
        m_controls.decimalSeparator());
    if (!texts)
        return;
    for (int i = 0; i < 6; ++i)
        m_controls.setText(Text3(i), {});
    for (int i = 0; i < 6; ++i)
        m_controls.setText(Text3(i), (*texts)[static_cast<std::size_t>(i)]);
}

void Form1Rules::CalculateSpeed() {
    ++m_calculationRuns[static_cast<std::size_t>(CalcMode::Speed)];
    const auto times = timeFieldTexts();
    const auto result =
        core::CalculateSpeed(m_controls.text(Field::Text1), m_controls.itemData(Field::Combo1),
                             views(times), m_controls.decimalSeparator());
    if (!result)
        return;
    // The unit goes first: its click recalculates once more, nested, and the
    // text written after it is the same.
    if (result->unitIndex)
        m_controls.setListIndex(Field::Combo2, *result->unitIndex);
    m_controls.setText(Field::Text2, result->text);
}

void Form1Rules::CalculateData() {
    ++m_calculationRuns[static_cast<std::size_t>(CalcMode::Data)];
    const auto times = timeFieldTexts();
    const auto result =
        core::CalculateData(m_controls.text(Field::Text2), m_controls.itemData(Field::Combo2),
                            views(times), m_controls.decimalSeparator());
    if (!result)
        return;
    if (result->unitIndex)
        m_controls.setListIndex(Field::Combo1, *result->unitIndex);
    m_controls.setText(Field::Text1, result->text);
}

bool Form1Rules::selected(CalcMode mode) const {
    return m_controls.option1Value(static_cast<int>(mode));
}

// A result is locked and coloured; an input is open and white.
void Form1Rules::applyRole(Field control, bool isResult) {
    m_controls.setLocked(control, isResult);
    m_controls.setBackColor(control, isResult ? OutputBackColor : InputBackColor);
}

std::array<std::string, 6> Form1Rules::timeFieldTexts() const {
    std::array<std::string, 6> texts;
    for (int i = 0; i < 6; ++i)
        texts[static_cast<std::size_t>(i)] = m_controls.text(Text3(i));
    return texts;
}

}  // namespace velmora
