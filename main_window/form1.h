#pragma once

#include <QWidget>

#include <array>
#include <string>

#include "core/calculations.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace velmora {

class LockableComboBox;
class PictureLabel;

// The calculator's window: pick the quantity to calculate, and it follows
// every edit of the other two.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    // How often each calculation has run since the window was made; lets
    // tests and tools see the event chains, which are otherwise invisible.
    int calculationRuns(core::CalcMode mode) const {
        return m_calculationRuns[static_cast<std::size_t>(mode)];
    }

private:
    void createControls();  // form1_layout.cpp
    void connectEvents();

    void Form_Load();
    void Option1_Click(int Index);
    void Text1_Change();
    void Text2_Change();
    void Text3_Change(int Index);
    void Combo1_Click();
    void Combo2_Click();
    void Image1_Click();

    void Recalculate();
    void CalculateTime();
    void CalculateSpeed();
    void CalculateData();

    std::string fieldText(const QLineEdit* field) const;
    std::array<std::string, 6> timeFieldTexts() const;
    void countRun(core::CalcMode mode);

    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 3> Option1{};
    QButtonGroup* m_modeGroup = nullptr;
    QLineEdit* Text1 = nullptr;
    LockableComboBox* Combo1 = nullptr;
    QLineEdit* Text2 = nullptr;
    LockableComboBox* Combo2 = nullptr;
    std::array<QLineEdit*, 6> Text3{};
    PictureLabel* Image1 = nullptr;

    bool FormReady = false;
    std::string m_decimalSeparator;
    std::array<int, 3> m_calculationRuns{};
};

}  // namespace velmora
