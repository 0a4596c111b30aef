#include "design/qt/qt_design.h"

#include <QStringList>

namespace velmora {

namespace {

QFont makeFont(const design::FontDesign& design) {
    QStringList faces;
    for (const std::string_view face : design.faces)
        if (!face.empty())
            faces << QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size()));
    QFont font;
    font.setFamilies(faces);
    font.setPointSizeF(design.pointSize);
    return font;
}

}  // namespace

QFont dialogFont() {
#ifdef Q_OS_WIN
    QFont font = makeFont(design::WindowsDialogFont);
#else
    QFont font = makeFont(design::LinuxDialogFont);
#endif
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont smallCaptionFont() {
#ifdef Q_OS_WIN
    QFont font = makeFont(design::WindowsSmallCaptionFont);
#else
    QFont font = makeFont(design::LinuxSmallCaptionFont);
#endif
    font.setStyleHint(QFont::Serif);
    // Fixed ASCII captions never need glyphs from another font.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

}  // namespace velmora
