// Every caption shows all the ink of its text: drawn freely with the same
// font, flags and place, no pixel of the text may be missing from the window
// as shown. Run under several font sets (see tests/CMakeLists.txt).

#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QStyleOptionButton>

#include <vector>

#include "about/qt/frm_about.h"
#include "main_window/qt/frame_box.h"
#include "tests/ui/form1_fixture.h"

namespace velmora::testing {
namespace {

// One caption as its widget draws it: the text, in which rectangle of the
// widget, with which flags.
struct Caption {
    const QWidget* widget;
    QString text;
    QRect rect;
    int flags;
};

std::vector<Caption> captionsOf(const QWidget* window) {
    std::vector<Caption> captions;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->isVisibleTo(window) && !label->text().isEmpty())
            captions.push_back(
                {label, label->text(), label->contentsRect(),
                 int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0)});
    }
    for (const QRadioButton* button : window->findChildren<QRadioButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        captions.push_back(
            {button, button->text(),
             button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button),
             Qt::AlignLeft | Qt::AlignVCenter});
    }
    for (const FrameBox* frame : window->findChildren<FrameBox*>())
        captions.push_back({frame, frame->title(), frame->captionRect(), Qt::AlignCenter});
    return captions;
}

bool isInk(QRgb pixel, QRgb background, int threshold) {
    return std::abs(qRed(pixel) - qRed(background)) > threshold ||
           std::abs(qGreen(pixel) - qGreen(background)) > threshold ||
           std::abs(qBlue(pixel) - qBlue(background)) > threshold;
}

// Of the pixels the free drawing inks, how many the window shows.
std::pair<int, int> shownInk(QWidget* window, const Caption& caption) {
    const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = caption.widget->mapTo(window, QPoint(0, 0));

    QImage free(shown.size(), QImage::Format_RGB32);
    free.fill(Qt::white);
    QPainter painter(&free);
    painter.setFont(caption.widget->font());
    painter.setPen(Qt::black);
    painter.drawText(caption.rect.translated(origin), caption.flags | Qt::TextDontClip,
                     caption.text);
    painter.end();

    const QRgb background = caption.widget->palette().color(QPalette::Window).rgb();
    int drawn = 0, kept = 0;
    for (int y = 0; y < free.height(); ++y) {
        for (int x = 0; x < free.width(); ++x) {
            if (!isInk(free.pixel(x, y), qRgb(255, 255, 255), 96))
                continue;
            ++drawn;
            kept += isInk(shown.pixel(x, y), background, 24);
        }
    }
    return {kept, drawn};
}

void expectWholeCaptions(QWidget* window) {
    const std::vector<Caption> captions = captionsOf(window);
    ASSERT_FALSE(captions.empty());
    const QString onlyFace = qEnvironmentVariable("VELMORA_ONLY_FACE");
    for (const Caption& caption : captions) {
        if (!onlyFace.isEmpty()) {
            EXPECT_EQ(QFontInfo(caption.widget->font()).family(), onlyFace);
        }
        const auto [kept, drawn] = shownInk(window, caption);
        EXPECT_GT(drawn, 0) << caption.text.toStdString();
        EXPECT_EQ(kept, drawn) << caption.widget->objectName().toStdString() << " \""
                               << caption.text.toStdString() << "\" shows " << kept << " of its "
                               << drawn << " ink pixels";
    }
}

TEST_F(Form1Test, EveryCaptionShowsAllItsInk) { expectWholeCaptions(window.get()); }

TEST(AboutCaptionsTest, EveryCaptionShowsAllItsInk) {
    frmAbout box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    expectWholeCaptions(&box);
}

}  // namespace
}  // namespace velmora::testing
