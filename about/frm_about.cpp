#include "about/frm_about.h"

#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "about/design.h"
#include "velmora_version.h"

namespace velmora {

namespace {

// Fixed-size text that wraps at word boundaries inside its rectangle.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                  bool black) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (black) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
    return label;
}

// One stroke of the engraved rule under the upper part of the box.
void makeRule(QWidget* parent, const char* name, const QRect& place, const QColor& colour) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setGeometry(place);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    createControls();
    Form_Load();
}

void frmAbout::createControls() {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About MyApp"));
    setWindowIcon(QIcon(QStringLiteral(":/velmora/about.png")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(dialogFont());
    // Not centred: the same place on the screen at every opening.
    setGeometry(fromTwips(2340, 1935, 5730, 3555));
    setFixedSize(size());

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(fromTwips(4245, 2625, 1260, 825));
    cmdOK->setDefault(true);

    // The logo at its natural size inside a 2-pixel sunken border.
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setPixmap(QPixmap(QStringLiteral(":/velmora/logo.bmp")));
    picIcon->setGeometry(fromTwips(960, 0, 3810, 1560));
    picIcon->setFocusPolicy(Qt::StrongFocus);
    picIcon->setAccessibleName(QStringLiteral("Kestrane logo"));

    lblDescription = makeLabel(
        this, "lblDescription",
        QStringLiteral("Velmora calculates the transfer speed, the data size or the time of a "
                       "data transfer from the other two."),
        fromTwips(60, 2040, 5595, 390), true);
    lblDisclaimer = makeLabel(
        this, "lblDisclaimer",
        QStringLiteral("Warning: this program is protected by copyright law. Copying or "
                       "distributing it, or any part of it, without the permission of "
                       "Kestrane is prohibited."),
        fromTwips(255, 2625, 3870, 825), true);
    lblTitle = makeLabel(this, "lblTitle", QStringLiteral("Application Title"),
                         fromTwips(60, 1560, 4725, 240), true);
    lblVersion = makeLabel(this, "lblVersion", QStringLiteral("Version"),
                           fromTwips(480, 1800, 4305, 225), false);

    makeRule(this, "Line1(1)", QRect(6, 163, 371, 1), QColor(128, 128, 128));
    makeRule(this, "Line1(0)", QRect(7, 164, 370, 2), QColor(255, 255, 255));

    setTabOrder(cmdOK, picIcon);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::Form_Load() {
    const QString title = QString::fromLatin1(app::title);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(app::versionMajor)
                            .arg(app::versionMinor)
                            .arg(app::versionRevision));
    lblTitle->setText(title);
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // Esc presses OK, as Enter does, rather than cancelling past it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace velmora
