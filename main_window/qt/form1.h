#pragma once

#include <QWidget>

#include <array>
#include <string>

#include <QString>

#include "main_window/form1_rules.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimer;

namespace velmora {

class LockableComboBox;
class LockableLineEdit;
class PictureLabel;

// The calculator's window on Qt: pick the quantity to calculate, and it
// follows every edit of the other two. The rules live in Form1Rules; this
// class moves text, selections, locks and colours between them and the widgets.
class Form1 : public QWidget, private Form1Controls {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    int calculationRuns(core::CalcMode mode) const { return m_rules.calculationRuns(mode); }

private:
    void createControls();  // form1_layout.cpp
    void fitDialogFont();
    void connectEvents();
    void describeUnits();
    void announceResults(bool speak);

    std::string text(Field textBox) const override;
    void setText(Field textBox, const std::string& text) override;
    std::int32_t itemData(Field list) const override;
    void setListIndex(Field list, int index) override;
    bool modeChosen(core::CalcMode mode) const override;
    void setLocked(Field control, bool locked) override;
    void setBackColor(Field control, design::Rgb colour) override;
    std::string decimalSeparator() const override { return m_decimalSeparator; }
    void showAboutModal() override;

    LockableLineEdit* textBox(Field field) const;
    LockableComboBox* list(Field field) const;

    QGroupBox* m_modeFrame = nullptr;
    std::array<QRadioButton*, 3> m_modes{};
    QButtonGroup* m_modeGroup = nullptr;
    LockableLineEdit* m_dataSize = nullptr;
    LockableComboBox* m_sizeUnit = nullptr;
    LockableLineEdit* m_speed = nullptr;
    LockableComboBox* m_speedUnit = nullptr;
    std::array<LockableLineEdit*, 6> m_time{};
    PictureLabel* m_logo = nullptr;
    // Results heard once typing pauses, as they last were.
    QTimer* m_pause = nullptr;
    std::array<QString, 8> m_heard;

    Form1Rules m_rules{*this};
    std::string m_decimalSeparator;
};

}  // namespace velmora
