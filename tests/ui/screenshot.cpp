// Renders both windows to PNG files, at 1x and 2x, for people to look at:
//   screenshot [folder]
// writes form1.png, form1@2x.png, about.png and about@2x.png into the folder
// (default: the current one), and the same in a dark theme as form1-dark.png,
// form1-dark@2x.png, about-dark.png and about-dark@2x.png.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QStyleFactory>

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

// A dark desktop theme as Fusion draws it: light text on dark faces.
QPalette darkPalette() {
    QPalette p;
    const QColor face(53, 53, 53), base(42, 42, 42), text(241, 241, 241);
    p.setColor(QPalette::Window, face);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, face);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, face);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Light, face.lighter(150));
    p.setColor(QPalette::Midlight, face.lighter(125));
    p.setColor(QPalette::Mid, face.darker(125));
    p.setColor(QPalette::Dark, face.darker(150));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, face);
    p.setColor(QPalette::ToolTipText, text);
    return p;
}

bool renderBoth(const QDir& folder, const QString& suffix) {
    velmora::Form1 window;
    window.show();
    QApplication::processEvents();
    velmora::frmAbout about(&window);
    about.show();
    QApplication::processEvents();
    const auto path = [&](const char* name, const char* scale) {
        return folder.filePath(QString::fromLatin1(name) + suffix + QString::fromLatin1(scale) +
                               QStringLiteral(".png"));
    };
    return render(window, 1, path("form1", "")) && render(window, 2, path("form1", "@2x")) &&
           render(about, 1, path("about", "")) && render(about, 2, path("about", "@2x"));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(velmora::dialogFont());  // as the program does
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

    if (!renderBoth(folder, {}))
        return 1;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());
    return renderBoth(folder, QStringLiteral("-dark")) ? 0 : 1;
}
