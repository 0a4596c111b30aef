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
    void loaded();
    void okClicked();

    QPushButton* m_ok = nullptr;
    QLabel* m_logo = nullptr;
    QLabel* m_description = nullptr;
    QLabel* m_disclaimer = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_version = nullptr;
};

}  // namespace velmora
