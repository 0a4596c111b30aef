// Builds the window from the shared design table: every control at its place,
// with its tab index and caption, in the order the window creates them.

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <vector>

#include "core/units.h"
#include "design/qt/fixed_size_window.h"
#include "design/qt/qt_design.h"
#include "main_window/form1_design.h"
#include "main_window/qt/form1.h"
#include "main_window/qt/frame_box.h"
#include "main_window/qt/lockable_combo_box.h"
#include "main_window/qt/lockable_line_edit.h"
#include "main_window/qt/picture_label.h"

namespace velmora {

namespace {

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment toQt(Alignment alignment) {
    switch (alignment) {
    case Alignment::Centre:
        return Qt::AlignHCenter;
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

QWidget* makeControl(const ControlDesign& control, QWidget* window, QWidget* frame) {
    const QString caption = latin1(control.caption);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::TextBox:
        widget = new LockableLineEdit(caption, window);
        break;
    case ControlKind::List:
        widget = new LockableComboBox(window);
        break;
    case ControlKind::Frame:
        widget = new FrameBox(caption, window);
        break;
    case ControlKind::Option:
        widget = new QRadioButton(caption, frame);
        break;
    case ControlKind::Label: {
        auto* label = new QLabel(caption, window);
        label->setAlignment(toQt(control.alignment) | Qt::AlignTop);
        widget = label;
        break;
    }
    case ControlKind::Picture:
        widget = new PictureLabel(window);
        break;
    }
    widget->setObjectName(latin1(control.name));
    QRect place = fromTwips(control.place);
    if (control.kind == ControlKind::Option) {
        // Styles with a larger circle than the design's row would clip it;
        // the button then grows evenly about its designed middle line.
        const int circle =
            widget->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, widget);
        if (circle > place.height())
            place.adjust(0, -(circle - place.height()) / 2, 0, (circle - place.height() + 1) / 2);
    }
    widget->setGeometry(place);
    if (control.accessibleName.empty())
        return widget;
    widget->setAccessibleName(latin1(control.accessibleName));
    if (control.kind != ControlKind::List)
        return widget;
    // On Linux a screen reader hears a list's chosen item as its name, and
    // what it is for from the label whose buddy it is; this one is never shown.
    auto* purpose = new QLabel(latin1(control.accessibleName), window);
    purpose->setObjectName(QStringLiteral("purposeOf") + widget->objectName());
    purpose->setBuddy(widget);
    purpose->hide();
    return widget;
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
    setWindowTitle(latin1(Form1Caption));
    setWindowIcon(programIcon());
    // A fixed frame with a close button only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(fromTwips({0, 0, Form1ClientWidth, Form1ClientHeight}).size());
    keepFixedSize(this);

    QWidget* frame = nullptr;
    std::vector<std::pair<int, QWidget*>> focusOrder;
    for (const ControlDesign& control : Form1Design) {
        QWidget* widget = makeControl(control, this, frame);
        if (control.kind == ControlKind::Frame)
            frame = widget;
        if (widget->focusPolicy() != Qt::NoFocus)
            focusOrder.emplace_back(control.tabIndex, widget);
        if (IsSmallCaption(control.name)) {
            widget->setFont(smallCaptionFont());
            widget->setAutoFillBackground(true);
        }
    }

    m_modeFrame = findChild<QGroupBox*>(QStringLiteral("Frame2"));
    m_dataSize = findChild<LockableLineEdit*>(QStringLiteral("Text1"));
    m_speed = findChild<LockableLineEdit*>(QStringLiteral("Text2"));
    m_sizeUnit = findChild<LockableComboBox*>(QStringLiteral("Combo1"));
    m_speedUnit = findChild<LockableComboBox*>(QStringLiteral("Combo2"));
    m_logo = findChild<PictureLabel*>(QStringLiteral("Image1"));
    m_modeGroup = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(m_time.size()); ++i)
        m_time[i] = findChild<LockableLineEdit*>(QStringLiteral("Text3(%1)").arg(i));
    for (int i = 0; i < static_cast<int>(m_modes.size()); ++i) {
        m_modes[i] = m_modeFrame->findChild<QRadioButton*>(QStringLiteral("Option1(%1)").arg(i));
        m_modeGroup->addButton(m_modes[i], i);
    }
    m_modes[0]->setChecked(true);

    m_logo->setPixmap(QPixmap(QStringLiteral(":/velmora/logo.bmp")));
    m_logo->setScaledContents(true);
    m_logo->setToolTip(latin1(LogoToolTip));
    // The small captions lie over the logo's edge and stay on top of it.
    for (const char* name : {"Label10", "Label11"})
        findChild<QLabel*>(QString::fromLatin1(name))->raise();

    fill(m_sizeUnit, core::DataSizeUnits);
    fill(m_speedUnit, core::SpeedUnits);
    fitDialogFont();

    std::sort(focusOrder.begin(), focusOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
    m_dataSize->setFocus();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The window is laid out for a narrow face; where a wider one stands in,
// the dialog font is made to fit every caption in its designed box.
void Form1::fitDialogFont() {
    std::vector<CaptionRoom> captions;
    for (const QLabel* label : findChildren<QLabel*>()) {
        if (label->isVisibleTo(this) && !IsSmallCaption(label->objectName().toStdString()))
            captions.push_back({label->text(), label->width(), label->height()});
    }
    for (QRadioButton* button : m_modes) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room =
            button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
        captions.push_back({button->text(), room.width(), room.height()});
    }
    // The list's arrow takes its share of the field.
    for (const LockableComboBox* list : {m_sizeUnit, m_speedUnit})
        for (int i = 0; i < list->count(); ++i)
            captions.push_back({list->itemText(i), list->width() - 24, list->height()});
    setFont(fitCaptions(font(), captions));
    for (QLabel* label : findChildren<QLabel*>())
        placeCaption(label);
}

}  // namespace velmora
