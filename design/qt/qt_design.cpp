#include "design/qt/qt_design.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>

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

namespace {

bool fits(const QFont& font, const std::vector<CaptionRoom>& captions) {
    const QFontMetrics metrics(font);
    return std::all_of(captions.begin(), captions.end(), [&](const CaptionRoom& caption) {
        return metrics.horizontalAdvance(caption.text) <= caption.width;
    });
}

}  // namespace

QFont fitCaptions(const QFont& font, const std::vector<CaptionRoom>& captions) {
    if (fits(font, captions))
        return font;
    QFont fitted = font;
    for (int stretch = 95; stretch >= QFont::UltraCondensed; stretch -= 5) {
        fitted.setStretch(stretch);
        if (fits(fitted, captions))
            return fitted;
    }
    // No narrower face, and none drawn narrower: a smaller size, down to
    // what still reads.
    fitted.setStretch(QFont::AnyStretch);
    for (double size = font.pointSizeF() - 0.25; size >= 5; size -= 0.25) {
        fitted.setPointSizeF(size);
        if (fits(fitted, captions))
            return fitted;
    }
    return fitted;
}

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
