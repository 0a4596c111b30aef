#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace velmora {

// The About box: logo, title, version, what the program does, and a warning.
// Built anew for every opening; closed with OK, Enter, Esc or the close box.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void Form_Load();
    void cmdOK_Click();

    QPushButton* cmdOK = nullptr;
    QLabel* picIcon = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
};

}  // namespace velmora
