#include <QApplication>

#include "design/qt/qt_design.h"
#include "main_window/qt/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Wayland compositors match the window to its desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.kestrane.Velmora"));
    // The program's own font from the start: fields laid out before their
    // window's font reaches them then load no other face.
    QApplication::setFont(velmora::dialogFont());
    velmora::Form1 window;
    window.show();
    return QApplication::exec();
}
