#include "design/qt/qt_design.h"

#include <QStringList>

namespace velmora {

namespace {

// The Windows face where the program runs on Windows, else its Linux stand-in.
QFont makeFont(const design::FontDesign& onWindows, const design::FontDesign& elsewhere,
               QFont::StyleHint hint) {
#ifdef Q_OS_WIN
    const design::FontDesign& design = onWindows;
    Q_UNUSED(elsewhere);
#else
    const design::FontDesign& design = elsewhere;
    Q_UNUSED(onWindows);
#endif
    QStringList faces;
    for (const std::string_view face : design.faces)
        if (!face.empty())
            faces << QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size()));
    QFont font;
    font.setFamilies(faces);
    font.setStyleHint(hint);
    font.setPointSizeF(design.pointSize);
    return font;
}

}  // namespace

QFont dialogFont() {
    return makeFont(design::WindowsDialogFont, design::LinuxDialogFont, QFont::SansSerif);
}

QFont smallCaptionFont() {
    QFont font =
        makeFont(design::WindowsSmallCaptionFont, design::LinuxSmallCaptionFont, QFont::Serif);
    // Fixed ASCII captions never need glyphs from another font.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

}  // namespace velmora
