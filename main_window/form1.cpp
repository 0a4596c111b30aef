#include "main_window/form1.h"

#include <QButtonGroup>
#include <QColor>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>

#include "about/frm_about.h"
#include "core/calculations.h"
#include "main_window/lockable_combo_box.h"
#include "main_window/picture_label.h"

namespace velmora {

namespace {

using core::CalcMode;

const QColor outputBackColor(255, 189, 197);
const QColor inputBackColor(255, 255, 255);

void setLocked(QLineEdit* field, bool locked) { field->setReadOnly(locked); }
void setLocked(LockableComboBox* list, bool locked) { list->setLocked(locked); }

void setBackColor(QWidget* control, const QColor& color) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, color);
    control->setPalette(palette);
}

// A result is locked and coloured; an input is open and white.
template <typename Control>
void applyRole(Control* control, bool isResult) {
    setLocked(control, isResult);
    setBackColor(control, isResult ? outputBackColor : inputBackColor);
}

std::int32_t multiplier(const LockableComboBox* list) { return list->currentData().toInt(); }

QString toQString(const std::string& text) { return QString::fromStdString(text); }

core::TimeTexts views(const std::array<std::string, 6>& texts) {
    core::TimeTexts result;
    for (std::size_t i = 0; i < texts.size(); ++i)
        result[i] = texts[i];
    return result;
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    // The user's own separator for results; reading accepts it besides '.'.
    m_decimalSeparator = QLocale().decimalPoint().toStdString();
    createControls();
    connectEvents();
    Form_Load();
}

void Form1::connectEvents() {
    connect(m_modeGroup, &QButtonGroup::idClicked, this, &Form1::Option1_Click);
    // textChanged, not textEdited: the calculations' own writes must reach the
    // handlers too, which then ignore a result field.
    connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
    for (int i = 0; i < static_cast<int>(Text3.size()); ++i)
        connect(Text3[i], &QLineEdit::textChanged, this, [this, i] { Text3_Change(i); });
    // Fires only when the index really moves, so a calculation that sets the
    // unit it already shows starts nothing.
    connect(Combo1, &QComboBox::currentIndexChanged, this, &Form1::Combo1_Click);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &Form1::Combo2_Click);
    connect(Image1, &PictureLabel::clicked, this, &Form1::Image1_Click);
}

void Form1::Form_Load() {
    // These selections raise the lists' clicks, which calculate nothing yet.
    Combo1->setCurrentIndex(0);
    Combo2->setCurrentIndex(0);
    for (QLineEdit* field : Text3)
        setLocked(field, true);
    FormReady = true;
    Option1_Click(static_cast<int>(CalcMode::Time));
    Recalculate();
}

void Form1::Option1_Click(int Index) {
    const auto mode = Index == 0 ? CalcMode::Time : Index == 1 ? CalcMode::Speed : CalcMode::Data;
    for (QLineEdit* field : Text3)
        applyRole(field, mode == CalcMode::Time);
    applyRole(Text1, mode == CalcMode::Data);
    applyRole(Text2, mode == CalcMode::Speed);
    applyRole(Combo1, mode == CalcMode::Data);
    applyRole(Combo2, mode == CalcMode::Speed);
}

void Form1::Text1_Change() {
    if (!Option1[static_cast<int>(CalcMode::Data)]->isChecked())
        Recalculate();
}

void Form1::Text2_Change() {
    if (!Option1[static_cast<int>(CalcMode::Speed)]->isChecked())
        Recalculate();
}

void Form1::Text3_Change(int /*Index*/) {
    if (!Option1[static_cast<int>(CalcMode::Time)]->isChecked())
        Recalculate();
}

void Form1::Combo1_Click() { Recalculate(); }

void Form1::Combo2_Click() { Recalculate(); }

void Form1::Image1_Click() {
    // Built anew for each opening; the window takes no input until it closes.
    frmAbout about(this);
    about.exec();
}

void Form1::Recalculate() {
    if (!FormReady)
        return;
    // The mode is read from the buttons each time; nothing keeps a copy.
    if (Option1[static_cast<int>(CalcMode::Time)]->isChecked())
        CalculateTime();
    else if (Option1[static_cast<int>(CalcMode::Speed)]->isChecked())
        CalculateSpeed();
    else
        CalculateData();
}

void Form1::CalculateTime() {
    countRun(CalcMode::Time);
    const auto texts = core::CalculateTime(fieldText(Text1), multiplier(Combo1), fieldText(Text2),
                                           multiplier(Combo2), m_decimalSeparator);
    if (!texts)
        return;
    for (QLineEdit* field : Text3)
        field->clear();
    for (std::size_t i = 0; i < Text3.size(); ++i)
        Text3[i]->setText(toQString((*texts)[i]));
}

void Form1::CalculateSpeed() {
    countRun(CalcMode::Speed);
    const auto times = timeFieldTexts();
    const auto result = core::CalculateSpeed(fieldText(Text1), multiplier(Combo1), views(times),
                                             m_decimalSeparator);
    if (!result)
        return;
    // The unit goes first: its click recalculates once more, nested, and the
    // text written after it is the same.
    if (result->unitIndex)
        Combo2->setCurrentIndex(*result->unitIndex);
    Text2->setText(toQString(result->text));
}

void Form1::CalculateData() {
    countRun(CalcMode::Data);
    const auto times = timeFieldTexts();
    const auto result = core::CalculateData(fieldText(Text2), multiplier(Combo2), views(times),
                                            m_decimalSeparator);
    if (!result)
        return;
    if (result->unitIndex)
        Combo1->setCurrentIndex(*result->unitIndex);
    Text1->setText(toQString(result->text));
}

std::string Form1::fieldText(const QLineEdit* field) const { return field->text().toStdString(); }

std::array<std::string, 6> Form1::timeFieldTexts() const {
    std::array<std::string, 6> texts;
    for (std::size_t i = 0; i < Text3.size(); ++i)
        texts[i] = fieldText(Text3[i]);
    return texts;
}

void Form1::countRun(CalcMode mode) { ++m_calculationRuns[static_cast<std::size_t>(mode)]; }

}  // namespace velmora
