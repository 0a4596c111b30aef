#include <QApplication>

#include "main_window/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    velmora::Form1 window;
    window.show();
    return QApplication::exec();
}
