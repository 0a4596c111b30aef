// Renders the main window to PNG files, at 1x and 2x, for people to look at:
//   screenshot [folder]
// writes form1.png, form1@2x.png, about.png and about@2x.png into the folder
// (default: the current one).

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include "design/qt/qt_design.h"
#include "about/qt/frm_about.h"
#include "main_window/qt/form1.h"

namespace {

bool render(QWidget& window, qreal scale, const QString& path) {
    QImage image(window.size() * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    window.render(&image);
    return image.save(path);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(velmora::dialogFont());  // as the program does
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

    velmora::Form1 window;
    window.show();
    QApplication::processEvents();
    velmora::frmAbout about(&window);
    about.show();
    QApplication::processEvents();
    const bool saved = render(window, 1, folder.filePath(QStringLiteral("form1.png"))) &&
                       render(window, 2, folder.filePath(QStringLiteral("form1@2x.png"))) &&
                       render(about, 1, folder.filePath(QStringLiteral("about.png"))) &&
                       render(about, 2, folder.filePath(QStringLiteral("about@2x.png")));
    return saved ? 0 : 1;
}
