// The least a Qt Widgets program with Velmora's controls can cost at start-up:
// the same 26 controls of the same kinds at the same places, with their
// captions and list items, and nothing else: no calculation, no pictures, no
// fonts, no icon. Velmora's start-up is measured against this.

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

namespace {

struct Control {
    enum Kind { Text, List, Frame, Option, Label, Picture } kind;
    int left, top, width, height;  // pixels
    const char* caption;
};

const Control controls[] = {
    {Control::Text, 240, 96, 37, 19, "32"},
    {Control::Text, 160, 96, 37, 19, "32"},
    {Control::Text, 88, 96, 37, 19, "32"},
    {Control::Text, 240, 116, 37, 19, "32"},
    {Control::Text, 160, 116, 37, 19, "32"},
    {Control::Text, 88, 116, 37, 19, "32"},
    {Control::Frame, 20, 8, 269, 33, "Calculate:"},
    {Control::Option, 172, 16, 57, 13, "Data"},
    {Control::Option, 108, 16, 57, 13, "Speed"},
    {Control::Option, 44, 16, 57, 13, "Time"},
    {Control::List, 168, 71, 121, 21, ""},
    {Control::Text, 88, 49, 77, 19, "32"},
    {Control::List, 168, 48, 121, 21, ""},
    {Control::Text, 88, 72, 77, 19, "32"},
    {Control::Label, 20, 137, 65, 9, "Presentation"},
    {Control::Label, 4, 111, 13, 9, "A"},
    {Control::Picture, 4, 120, 70, 20, ""},
    {Control::Label, 280, 100, 25, 13, "days"},
    {Control::Label, 200, 100, 37, 13, "Weeks"},
    {Control::Label, 128, 100, 29, 13, "Yearss."},
    {Control::Label, 280, 119, 41, 13, "seconds"},
    {Control::Label, 200, 119, 37, 13, "Minutes."},
    {Control::Label, 128, 119, 29, 13, "Hours"},
    {Control::Label, 8, 97, 77, 17, "Time:"},
    {Control::Label, 8, 50, 77, 17, "Data Size:"},
    {Control::Label, 8, 73, 77, 17, "Transfer Speed:"},
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Velmora"));
    window.setFixedSize(327, 146);

    QWidget* frame = nullptr;
    for (const Control& control : controls) {
        const QString caption = QString::fromLatin1(control.caption);
        QWidget* widget = nullptr;
        switch (control.kind) {
        case Control::Text:
            widget = new QLineEdit(caption, &window);
            break;
        case Control::List: {
            auto* list = new QComboBox(&window);
            list->addItems({QStringLiteral("KiloBytes"), QStringLiteral("MegaBytes"),
                            QStringLiteral("GigaBytes"), QStringLiteral("Bytes")});
            widget = list;
            break;
        }
        case Control::Frame:
            widget = frame = new QGroupBox(caption, &window);
            break;
        case Control::Option:
            widget = new QRadioButton(caption, frame);
            break;
        case Control::Label:
        case Control::Picture:
            widget = new QLabel(caption, &window);
            break;
        }
        widget->setGeometry(control.left, control.top, control.width, control.height);
    }
    window.show();
    return QApplication::exec();
}
