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

// Where the ink of a caption laid from the top of its room begins and ends:
// the first line's highest point and the last line's lowest.
struct InkRows {
    int top;
    int bottom;
};

// The height of the caption's lines as the label lays them.
int laidHeight(const QFontMetrics& metrics, const CaptionRoom& caption) {
    if (!caption.wraps)
        return metrics.height();
    return metrics.boundingRect(QRect(0, 0, caption.width, 1 << 16), Qt::TextWordWrap, caption.text)
        .height();
}

InkRows inkRows(const QFontMetrics& metrics, const CaptionRoom& caption) {
    const QRect ink = metrics.tightBoundingRect(caption.text);
    const int lastBaseline = laidHeight(metrics, caption) - metrics.height() + metrics.ascent();
    return {metrics.ascent() + ink.top(), lastBaseline + ink.bottom() + 1};
}

bool fits(const QFont& font, const std::vector<CaptionRoom>& captions) {
    const QFontMetrics metrics(font);
    return std::all_of(captions.begin(), captions.end(), [&](const CaptionRoom& caption) {
        const InkRows rows = inkRows(metrics, caption);
        return (caption.wraps || metrics.horizontalAdvance(caption.text) <= caption.width) &&
               rows.bottom - rows.top <= caption.height;
    });
}

}  // namespace

int captionDrop(const QFont& font, const CaptionRoom& caption) {
    const InkRows rows = inkRows(QFontMetrics(font), caption);
    if (rows.top < 0)
        return -rows.top;
    return std::min(0, std::max(-rows.top, caption.height - rows.bottom));
}

void placeCaption(QLabel* label) {
    const QFontMetrics metrics(label->font());
    const CaptionRoom room{label->text(), label->width(), label->height(), label->wordWrap()};
    const int drop = captionDrop(label->font(), room);
    if (drop >= 0) {
        label->setContentsMargins(0, drop, 0, 0);
        return;
    }
    // Margins cannot be negative: a text that must rise is laid from the
    // bottom instead, as high as its drop asks.
    label->setAlignment((label->alignment() & ~Qt::AlignVertical_Mask) | Qt::AlignBottom);
    label->setContentsMargins(0, 0, 0, std::max(0, room.height - laidHeight(metrics, room) - drop));
}

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
