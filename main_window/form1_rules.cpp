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

void Form1Rules::loaded() {
    // These selections raise the lists' clicks, which calculate nothing yet.
    m_controls.setListIndex(Field::SizeUnit, 0);
    m_controls.setListIndex(Field::SpeedUnit, 0);
    for (int i = 0; i < 6; ++i)
        m_controls.setLocked(timeField(i), true);
    m_loaded = true;
    calculatedQuantityChosen(CalcMode::Time);
    Recalculate();
}

void Form1Rules::calculatedQuantityChosen(CalcMode mode) {
    for (int i = 0; i < 6; ++i)
        applyRole(timeField(i), mode == CalcMode::Time);
    applyRole(Field::DataSize, mode == CalcMode::Data);
    applyRole(Field::Speed, mode == CalcMode::Speed);
    applyRole(Field::SizeUnit, mode == CalcMode::Data);
    applyRole(Field::SpeedUnit, mode == CalcMode::Speed);
}

void Form1Rules::dataSizeEdited() {
    if (!selected(CalcMode::Data))
        Recalculate();
}

void Form1Rules::speedEdited() {
    if (!selected(CalcMode::Speed))
        Recalculate();
}

void Form1Rules::timeEdited(int /*index*/) {
    if (!selected(CalcMode::Time))
        Recalculate();
}

void Form1Rules::sizeUnitChosen() { Recalculate(); }

void Form1Rules::speedUnitChosen() { Recalculate(); }

void Form1Rules::logoClicked() { m_controls.showAboutModal(); }

void Form1Rules::Raise(Field control) {
    switch (control) {
    case Field::DataSize:
        dataSizeEdited();
        break;
    case Field::Speed:
        speedEdited();
        break;
    case Field::SizeUnit:
        sizeUnitChosen();
        break;
    case Field::SpeedUnit:
        speedUnitChosen();
        break;
    default:
        timeEdited(static_cast<int>(control));
    }
}

void Form1Rules::Recalculate() {
    if (!m_loaded)
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
    const auto texts =
        core::CalculateTime(m_controls.text(Field::DataSize), m_controls.itemData(Field::SizeUnit),
                            m_controls.text(Field::Speed), m_controls.itemData(Field::SpeedUnit),
                            m_controls.decimalSeparator());
    if (!texts)
        return;
    for (int i = 0; i < 6; ++i)
        m_controls.setText(timeField(i), {});
    for (int i = 0; i < 6; ++i)
        m_controls.setText(timeField(i), (*texts)[static_cast<std::size_t>(i)]);
}

void Form1Rules::CalculateSpeed() {
    ++m_calculationRuns[static_cast<std::size_t>(CalcMode::Speed)];
    const auto times = timeFieldTexts();
    const auto result =
        core::CalculateSpeed(m_controls.text(Field::DataSize), m_controls.itemData(Field::SizeUnit),
                             views(times), m_controls.decimalSeparator());
    if (!result)
        return;
    // The unit goes first: its click recalculates once more, nested, and the
    // text written after it is the same.
    if (result->unitIndex)
        m_controls.setListIndex(Field::SpeedUnit, *result->unitIndex);
    m_controls.setText(Field::Speed, result->text);
}

void Form1Rules::CalculateData() {
    ++m_calculationRuns[static_cast<std::size_t>(CalcMode::Data)];
    const auto times = timeFieldTexts();
    const auto result =
        core::CalculateData(m_controls.text(Field::Speed), m_controls.itemData(Field::SpeedUnit),
                            views(times), m_controls.decimalSeparator());
    if (!result)
        return;
    if (result->unitIndex)
        m_controls.setListIndex(Field::SizeUnit, *result->unitIndex);
    m_controls.setText(Field::DataSize, result->text);
}

bool Form1Rules::selected(CalcMode mode) const { return m_controls.modeChosen(mode); }

// A result is locked and coloured; an input is open and white.
void Form1Rules::applyRole(Field control, bool isResult) {
    m_controls.setLocked(control, isResult);
    m_controls.setBackColor(control, isResult ? ResultBackColour : InputBackColour);
}

std::array<std::string, 6> Form1Rules::timeFieldTexts() const {
    std::array<std::string, 6> texts;
    for (int i = 0; i < 6; ++i)
        texts[static_cast<std::size_t>(i)] = m_controls.text(timeField(i));
    return texts;
}

}  // namespace velmora
