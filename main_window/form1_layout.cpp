// The window as designed: every control's place in twips, its tab index and
// its caption, in the order the window creates them.

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>
#include <vector>

#include "about/design.h"
#include "core/units.h"
#include "main_window/form1.h"
#include "main_window/lockable_combo_box.h"
#include "main_window/picture_label.h"

namespace velmora {

namespace {

enum class Kind { TextBox, List, Frame, Option, Label, Picture };

struct ControlDesign {
    const char* name;
    Kind kind;
    int left, top, width, height;  // twips, within the container
    int tabIndex;                  // -1: never takes the focus
    const char* caption;
    Qt::Alignment alignment = Qt::AlignLeft;
    const char* accessibleName = nullptr;  // what a screen reader says, where the caption won't do
};

constexpr int clientWidth = 4905;
constexpr int clientHeight = 2190;

// Option buttons sit in Frame2; every other control in the window.
const ControlDesign design[] = {
    {"Text3(2)", Kind::TextBox, 3600, 1440, 555, 285, 19, "32", Qt::AlignLeft, "Days"},
    {"Text3(1)", Kind::TextBox, 2400, 1440, 555, 285, 18, "32", Qt::AlignLeft, "Weeks"},
    {"Text3(0)", Kind::TextBox, 1320, 1440, 555, 285, 17, "32", Qt::AlignLeft, "Years"},
    {"Text3(5)", Kind::TextBox, 3600, 1740, 555, 285, 13, "32", Qt::AlignLeft, "Seconds"},
    {"Text3(4)", Kind::TextBox, 2400, 1740, 555, 285, 12, "32", Qt::AlignLeft, "Minutes"},
    {"Text3(3)", Kind::TextBox, 1320, 1740, 555, 285, 10, "32", Qt::AlignLeft, "Hours"},
    {"Frame2", Kind::Frame, 300, 120, 4035, 495, 6, "Calculate:"},
    {"Option1(2)", Kind::Option, 2580, 240, 855, 195, 9, "Data"},
    {"Option1(1)", Kind::Option, 1620, 240, 855, 195, 8, "Speed"},
    {"Option1(0)", Kind::Option, 660, 240, 855, 195, 7, "Time"},
    {"Combo2", Kind::List, 2520, 1065, 1815, 315, 5, "", Qt::AlignLeft, "Speed unit"},
    {"Text1", Kind::TextBox, 1320, 735, 1155, 285, 1, "32", Qt::AlignLeft, "Data size"},
    {"Combo1", Kind::List, 2520, 720, 1815, 315, 3, "", Qt::AlignLeft, "Data size unit"},
    {"Text2", Kind::TextBox, 1320, 1080, 1155, 285, 2, "32", Qt::AlignLeft, "Transfer speed"},
    {"Label11", Kind::Label, 300, 2055, 975, 135, 24, "Presentation", Qt::AlignHCenter},
    {"Label10", Kind::Label, 60, 1665, 195, 135, 23, "A", Qt::AlignHCenter},
    {"Image1", Kind::Picture, 60, 1800, 1050, 300, -1, "", Qt::AlignLeft,
     "Kestrane logo: opens the About box"},
    {"Label9", Kind::Label, 4200, 1500, 375, 195, 22, "days"},
    {"Label8", Kind::Label, 3000, 1500, 555, 195, 21, "Weeks"},
    {"Label7", Kind::Label, 1920, 1500, 435, 195, 20, "Yearss."},
    {"Label6", Kind::Label, 4200, 1785, 615, 195, 16, "seconds"},
    {"Label5", Kind::Label, 3000, 1785, 555, 195, 15, "Minutes."},
    {"Label4", Kind::Label, 1920, 1785, 435, 195, 14, "Hours"},
    {"Label3", Kind::Label, 120, 1455, 1155, 255, 11, "Time:", Qt::AlignRight},
    {"Label1", Kind::Label, 120, 750, 1155, 255, 4, "Data Size:", Qt::AlignRight},
    {"Label2", Kind::Label, 120, 1095, 1155, 255, 0, "Transfer Speed:", Qt::AlignRight},
};

QWidget* makeControl(const ControlDesign& control, QWidget* window, QWidget* frame) {
    const QString caption = QString::fromLatin1(control.caption);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case Kind::TextBox:
        widget = new QLineEdit(caption, window);
        break;
    case Kind::List:
        widget = new LockableComboBox(window);
        break;
    case Kind::Frame:
        widget = new QGroupBox(caption, window);
        break;
    case Kind::Option:
        widget = new QRadioButton(caption, frame);
        break;
    case Kind::Label: {
        auto* label = new QLabel(caption, window);
        label->setAlignment(control.alignment | Qt::AlignTop);
        widget = label;
        break;
    }
    case Kind::Picture:
        widget = new PictureLabel(window);
        break;
    }
    widget->setObjectName(QString::fromLatin1(control.name));
    widget->setGeometry(fromTwips(control.left, control.top, control.width, control.height));
    if (control.accessibleName)
        widget->setAccessibleName(QString::fromLatin1(control.accessibleName));
    return widget;
}

// The small captions beside the logo. Where "MS Serif" is missing, naming a
// serif face outright spares the font fallback search at start-up.
QFont smallCaptionFont() {
    QFont font;
#ifdef Q_OS_WIN
    font.setFamily(QStringLiteral("MS Serif"));
#else
    font.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
#endif
    font.setStyleHint(QFont::Serif);
    font.setPointSize(6);
    // Fixed ASCII captions never need glyphs from another font.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

// The title bar and the task bar show the window's icon at 16 to 64 pixels;
// larger sizes come from the installed theme icons, and decoding them here
// would only delay the first show.
QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/velmora/icons/velmora-%1.png").arg(size), QSize(size, size));
    return icon;
}

template <typename Units>
void fill(QComboBox* list, const Units& units) {
    for (const auto& unit : units)
        list->addItem(QLatin1StringView(unit.text.data(), unit.text.size()), unit.multiplier);
    // Filling selects the first item; the window starts with none.
    list->setCurrentIndex(-1);
}

}  // namespace

void Form1::createControls() {
    setObjectName(QStringLiteral("Form1"));
    setFont(dialogFont());
    setWindowTitle(QStringLiteral("Velmora"));
    setWindowIcon(programIcon());
    // A fixed frame with a close button only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(clientWidth / twipsPerPixel, clientHeight / twipsPerPixel);

    QWidget* frame = nullptr;
    std::vector<std::pair<int, QWidget*>> focusOrder;
    for (const ControlDesign& control : design) {
        QWidget* widget = makeControl(control, this, frame);
        if (control.kind == Kind::Frame)
            frame = widget;
        if (widget->focusPolicy() != Qt::NoFocus)
            focusOrder.emplace_back(control.tabIndex, widget);
    }

    Frame2 = findChild<QGroupBox*>(QStringLiteral("Frame2"));
    Text1 = findChild<QLineEdit*>(QStringLiteral("Text1"));
    Text2 = findChild<QLineEdit*>(QStringLiteral("Text2"));
    Combo1 = findChild<LockableComboBox*>(QStringLiteral("Combo1"));
    Combo2 = findChild<LockableComboBox*>(QStringLiteral("Combo2"));
    Image1 = findChild<PictureLabel*>(QStringLiteral("Image1"));
    m_modeGroup = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(Text3.size()); ++i)
        Text3[i] = findChild<QLineEdit*>(QStringLiteral("Text3(%1)").arg(i));
    for (int i = 0; i < static_cast<int>(Option1.size()); ++i) {
        Option1[i] = Frame2->findChild<QRadioButton*>(QStringLiteral("Option1(%1)").arg(i));
        m_modeGroup->addButton(Option1[i], i);
    }
    Option1[0]->setChecked(true);

    Image1->setPixmap(QPixmap(QStringLiteral(":/velmora/logo.bmp")));
    Image1->setScaledContents(true);
    Image1->setToolTip(QStringLiteral("Kestrane 2009"));
    for (const char* name : {"Label10", "Label11"}) {
        auto* caption = findChild<QLabel*>(QString::fromLatin1(name));
        caption->setFont(smallCaptionFont());
        // Opaque, so "Presentation" stays readable where it covers the logo's bottom edge.
        caption->setAutoFillBackground(true);
        caption->raise();
    }

    fill(Combo1, core::DataSizeUnits);
    fill(Combo2, core::SpeedUnits);

    std::sort(focusOrder.begin(), focusOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
    Text1->setFocus();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace velmora
