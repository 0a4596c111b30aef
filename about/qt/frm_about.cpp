#include "about/qt/frm_about.h"

#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <vector>

#include "about/about_design.h"
#include "design/qt/fixed_size_window.h"
#include "design/qt/qt_design.h"

namespace velmora {

namespace {

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Fixed-size text that wraps at word boundaries inside its rectangle. Black
// where the design asks for it, unless the theme's face is too dark for it.
QLabel* makeLabel(QWidget* parent, const about::LabelDesign& design) {
    auto* label = new QLabel(latin1(design.caption), parent);
    label->setObjectName(latin1(design.name));
    label->setGeometry(fromTwips(design.place));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (design.black) {
        QPalette palette = label->palette();
        const design::Rgb text =
            design::DesignedOrThemeText({0, 0, 0}, toRgb(palette.color(QPalette::Window)),
                                        toRgb(palette.color(QPalette::WindowText)));
        palette.setColor(QPalette::WindowText, toQColor(text));
        label->setPalette(palette);
    }
    return label;
}

// One stroke of the engraved rule. The designed grey and white engrave a
// light face; on a dark one they would stand out, so the face's own shades
// draw the groove there.
void makeRule(QWidget* parent, const about::RuleDesign& design, bool upper) {
    auto* line = new QFrame(parent);
    line->setObjectName(latin1(design.name));
    const int left = design::TwipsToPixels(design.x1);
    const int top = design::TwipsToPixels(design.y1);
    line->setGeometry(left, top, design::TwipsToPixels(design.x2) - left, design.widthPixels);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    const QColor face = palette.color(QPalette::Window);
    QColor colour = toQColor(design.colour);
    if (face.lightness() <= QColor(128, 128, 128).lightness())
        colour = upper ? face.darker(200) : face.lighter(140);
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    createControls();
    loaded();
}

void frmAbout::createControls() {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(latin1(about::DesignCaption));
    setWindowIcon(QIcon(QStringLiteral(":/velmora/about.png")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(dialogFont());
    // Not centred: the same place on the screen at every opening.
    setGeometry(
        fromTwips({about::ScreenLeft, about::ScreenTop, about::ClientWidth, about::ClientHeight}));
    setFixedSize(size());
    keepFixedSize(this);

    m_ok = new QPushButton(latin1(about::OkCaption), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setGeometry(fromTwips(about::OkButtonPlace));
    m_ok->setDefault(true);

    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("picIcon"));
    m_logo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_logo->setLineWidth(about::PictureBorderPixels);
    m_logo->setPixmap(QPixmap(QStringLiteral(":/velmora/logo.bmp")));
    m_logo->setGeometry(fromTwips(about::LogoPlace));
    m_logo->setFocusPolicy(Qt::StrongFocus);
    m_logo->setAccessibleName(latin1(about::LogoAccessibleName));

    m_description = makeLabel(this, about::Labels[0]);
    m_disclaimer = makeLabel(this, about::Labels[1]);
    m_title = makeLabel(this, about::Labels[2]);
    m_version = makeLabel(this, about::Labels[3]);

    makeRule(this, about::Rule[0], true);
    makeRule(this, about::Rule[1], false);

    setTabOrder(m_ok, m_logo);
    m_ok->setFocus();
    connect(m_ok, &QPushButton::clicked, this, &frmAbout::okClicked);
}

void frmAbout::loaded() {
    const about::LoadedCaptions captions = about::CaptionsOnLoad();
    setWindowTitle(QString::fromStdString(captions.window));
    m_version->setText(QString::fromStdString(captions.version));
    m_title->setText(QString::fromStdString(captions.title));
    // Laid out for a narrow face: where a wider or taller one stands in, the
    // font fits every text in its box, as in the main window.
    const std::array labels{m_description, m_disclaimer, m_title, m_version};
    std::vector<CaptionRoom> rooms;
    for (const QLabel* label : labels)
        rooms.push_back({label->text(), label->width(), label->height(), true});
    setFont(fitCaptions(font(), rooms));
    for (QLabel* label : labels)
        placeCaption(label);
    // Screen readers read a dialog's description when it opens; some read
    // only its longer lines, which would skip the title and version. So the
    // description holds every line, top to bottom as they are seen.
    std::vector<QLabel*> seen(labels.begin(), labels.end());
    std::stable_sort(seen.begin(), seen.end(),
                     [](const QLabel* a, const QLabel* b) { return a->y() < b->y(); });
    QStringList lines;
    for (const QLabel* label : seen) {
        QString line = label->text().simplified();
        if (!line.isEmpty() && !line.back().isPunct())
            line += QLatin1Char('.');
        lines << line;
    }
    setAccessibleDescription(lines.join(QLatin1Char(' ')));
}

void frmAbout::okClicked() { accept(); }

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // Esc presses OK, as Enter does, rather than cancelling past it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_ok->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace velmora
