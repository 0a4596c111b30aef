#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QTimer>

#include <map>

#include "about/qt/frm_about.h"
#include "design/colours.h"
#include "design/qt/qt_design.h"
#include "tests/ui/form1_fixture.h"

namespace velmora::testing {
namespace {

QPalette paletteOf(QColor face, QColor base, QColor text, QColor highlight) {
    QPalette p(text, face, face.lighter(150), face.darker(200), face.darker(150), text, text, base,
               face);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(
        QPalette::HighlightedText,
        design::ReadableTextOn(toRgb(highlight)) == design::Rgb{0, 0, 0} ? Qt::black : Qt::white);
    return p;
}

struct Theme {
    const char* name;
    QPalette palette;
};

void PrintTo(const Theme& theme, std::ostream* out) { *out << theme.name; }

// A light desktop, a dark one (near-white text as GNOME's dark theme has
// it) and a high-contrast one.
const Theme themes[] = {
    {"light", paletteOf(QColor(239, 239, 239), Qt::white, Qt::black, QColor(48, 140, 198))},
    {"dark", paletteOf(QColor(53, 53, 53), QColor(42, 42, 42), QColor(241, 241, 241),
                       QColor(42, 130, 218))},
    {"high contrast", paletteOf(Qt::black, Qt::black, Qt::white, Qt::yellow)},
};

// How well the text inside a rectangle of a control reads: the commonest
// colour there is the background, the colour that stands out most from it
// is the ink.
double textContrast(QWidget* control, QRect area = {}) {
    const QImage image = control->grab().toImage();
    if (area.isNull())
        area = image.rect();
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    const QRgb background =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    double best = 1;
    for (const auto& [colour, count] : counts)
        best =
            std::max(best, design::ContrastRatio(toRgb(QColor(background)), toRgb(QColor(colour))));
    return best;
}

// Where a control draws its text, away from frames and indicators.
QRect textArea(QWidget* control) {
    if (qobject_cast<QLineEdit*>(control))
        return control->rect().adjusted(3, 3, -3, -3);
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        return list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                             QStyle::SC_ComboBoxEditField, list);
    }
    if (qobject_cast<QRadioButton*>(control))
        return control->rect().adjusted(control->height() + 2, 0, 0, 0);
    if (qobject_cast<QPushButton*>(control))
        return control->rect().adjusted(4, 4, -4, -4);
    return {};
}

class ThemeTest : public ::testing::TestWithParam<Theme> {
public:
    void SetUp() override {
        m_style = QApplication::style()->name();
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(GetParam().palette);
    }
    void TearDown() override {
        QApplication::setPalette(QPalette());
        QApplication::setStyle(m_style);
    }

    static void expectReadable(QWidget* control) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_GE(textContrast(control, textArea(control)), design::ReadableContrast);
    }

private:
    QString m_style;
};

TEST_P(ThemeTest, EveryTextReadsInBothWindowsInEveryMode) {
    Form1 window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int mode = 2; mode >= 0; --mode) {
        SCOPED_TRACE(mode);
        auto* button = window.findChild<QRadioButton*>(QStringLiteral("Option1(%1)").arg(mode));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        for (QWidget* control : window.findChildren<QWidget*>()) {
            const QString name = control->objectName();
            if (name.startsWith(QLatin1String("Text")) || name.startsWith(QLatin1String("Combo")) ||
                name.startsWith(QLatin1String("Label")) ||
                name.startsWith(QLatin1String("Option1")))
                expectReadable(control);
        }
    }
    frmAbout about(&window);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer", "cmdOK"})
        expectReadable(about.findChild<QWidget*>(QString::fromLatin1(name)));
}

INSTANTIATE_TEST_SUITE_P(Palettes, ThemeTest, ::testing::ValuesIn(themes), [](const auto& info) {
    QString name = QString::fromLatin1(info.param.name);
    return name.remove(QLatin1Char(' ')).toStdString();
});

TEST_F(Form1Test, DesignColoursStayInALightTheme) {
    chooseMode(1);
    const QImage field = speedBox()->grab().toImage();
    EXPECT_EQ(QColor(field.pixel(field.width() - 4, field.height() / 2)),
              toQColor(ResultBackColour));
    // The locked list is pink right up to its arrow.
    QComboBox* list = speedUnitList();
    QStyleOptionComboBox option;
    option.initFrom(list);
    const QRect arrow =
        list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, list);
    dataSizeBox()->setFocus();  // a focused list paints its field as selected
    const QImage shown = list->grab().toImage();
    for (const int x : {arrow.left() - 1, arrow.left() + 1})
        EXPECT_EQ(QColor(shown.pixel(x, list->height() / 2)), toQColor(ResultBackColour)) << x;
}

TEST_F(Form1Test, OptionButtonsSitBelowTheFrameLine) {
    QWidget* frame = control<QWidget>("Frame2");
    const QImage shown = frame->grab().toImage();
    // The frame's top line is the first row, away from the caption, that is
    // not the face colour.
    const QColor face = frame->palette().color(QPalette::Window);
    const int x = frame->width() - 10;
    int line = 0;
    while (line < shown.height() && QColor(shown.pixel(x, line)) == face)
        ++line;
    const QFontMetrics metrics(frame->font());
    EXPECT_LE(line, metrics.height() / 2 + 1);  // through the caption's middle
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(modeButton(i)->geometry().top(), line + 2);
}

}  // namespace
}  // namespace velmora::testing
