#include <QScreen>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>

#include "core/units.h"
#include "design/qt/qt_design.h"
#include "main_window/form1_design.h"
#include "tests/ui/form1_fixture.h"

namespace velmora::testing {
namespace {

// Every control's place in pixels within its container, as designed.
struct Placement {
    const char* name;
    int left, top, width, height;
};

constexpr Placement placements[] = {
    {"Text3(2)", 240, 96, 37, 19},   {"Text3(1)", 160, 96, 37, 19},
    {"Text3(0)", 88, 96, 37, 19},    {"Text3(5)", 240, 116, 37, 19},
    {"Text3(4)", 160, 116, 37, 19},  {"Text3(3)", 88, 116, 37, 19},
    {"Frame2", 20, 8, 269, 33},      {"Option1(2)", 172, 16, 57, 13},
    {"Option1(1)", 108, 16, 57, 13}, {"Option1(0)", 44, 16, 57, 13},
    {"Combo2", 168, 71, 121, 21},    {"Text1", 88, 49, 77, 19},
    {"Combo1", 168, 48, 121, 21},    {"Text2", 88, 72, 77, 19},
    {"Label11", 20, 137, 65, 9},     {"Label10", 4, 111, 13, 9},
    {"Image1", 4, 120, 70, 20},      {"Label9", 280, 100, 25, 13},
    {"Label8", 200, 100, 37, 13},    {"Label7", 128, 100, 29, 13},
    {"Label6", 280, 119, 41, 13},    {"Label5", 200, 119, 37, 13},
    {"Label4", 128, 119, 29, 13},    {"Label3", 8, 97, 77, 17},
    {"Label1", 8, 50, 77, 17},       {"Label2", 8, 73, 77, 17},
};

TEST_F(Form1Test, EveryControlStandsAtItsDesignedPlace) {
    EXPECT_EQ(window->size(), QSize(327, 146));
    for (const auto& place : placements) {
        SCOPED_TRACE(place.name);
        QWidget* widget = control<QWidget>(QString::fromLatin1(place.name));
        ASSERT_NE(widget, nullptr);
        const QRect designed(place.left, place.top, place.width, place.height);
        const bool inFrame = QByteArray(place.name).startsWith("Option1");
        if (inFrame) {
            // Grown evenly about the designed middle where the style's circle
            // is taller than the row, never shrunk or moved sideways.
            const QRect shown = widget->geometry();
            const int circle =
                widget->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, widget);
            EXPECT_EQ(shown.height(), std::max(designed.height(), circle));
            EXPECT_LE(std::abs(shown.center().y() - designed.center().y()), 1);
            EXPECT_EQ(shown.left(), designed.left());
            EXPECT_EQ(shown.width(), designed.width());
        } else {
            EXPECT_EQ(widget->geometry(), designed);
        }
        EXPECT_EQ(widget->parentWidget()->objectName(), inFrame ? "Frame2" : "Form1");
        EXPECT_TRUE(window->rect().contains(widget->geometry()));
    }
    // The lowest caption ends exactly at the bottom edge.
    EXPECT_EQ(control<QLabel>("Label11")->geometry().bottom() + 1, window->height());
}

TEST_F(Form1Test, CaptionsReadAsDesignedAndFitTheirControls) {
    // Run again with the narrow faces hidden: then a wide face must stand in.
    const QFont font = control<QLabel>("Label7")->font();
    const QString face = QFontInfo(font).family();
    if (qEnvironmentVariableIsSet("VELMORA_NO_NARROW_FACES")) {
        EXPECT_FALSE(face.contains("Narrow")) << face.toStdString();
    } else if (face == "Liberation Sans Narrow") {
        EXPECT_EQ(font, dialogFont());  // the designed face needs no fitting
    }
    // Every caption as the design table has it, whichever control shows it.
    for (const ControlDesign& design : Form1Design) {
        SCOPED_TRACE(std::string(design.name));
        const QString name = QString::fromLatin1(design.name.data(), design.name.size());
        const QString caption = QString::fromLatin1(design.caption.data(), design.caption.size());
        if (design.kind == ControlKind::Frame) {
            EXPECT_EQ(control<QGroupBox>(name)->title(), caption);
        } else if (design.kind == ControlKind::Option) {
            QRadioButton* button = control<QRadioButton>(name);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), caption);
            QStyleOptionButton styleOption;
            styleOption.initFrom(button);
            styleOption.text = button->text();
            const QRect textArea = button->style()->subElementRect(QStyle::SE_RadioButtonContents,
                                                                   &styleOption, button);
            EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()),
                      textArea.width());
        } else if (design.kind == ControlKind::Label) {
            auto* label = control<QLabel>(name);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), caption);
            const Qt::Alignment alignment = design.alignment == Alignment::Right ? Qt::AlignRight
                                            : design.alignment == Alignment::Centre
                                                ? Qt::AlignHCenter
                                                : Qt::AlignLeft;
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, alignment);
            const QFontMetrics metrics(label->font());
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width());
            EXPECT_LE(metrics.ascent(), label->height());
        }
    }

    // The longest unit shows whole in its list.
    const QFontMetrics listMetrics(speedUnitList()->font());
    const auto& longest = core::SpeedUnits[0].text;
    EXPECT_LE(
        listMetrics.horizontalAdvance(QString::fromLatin1(longest.data(), longest.size())) + 24,
        speedUnitList()->width());
    for (int i = 0; i < 6; ++i)
        EXPECT_LE(QFontMetrics(timeBox(i)->font()).height(), timeBox(i)->height());
}

TEST_F(Form1Test, SmallCaptionsUseASmallSerifFace) {
    for (const char* name : {"Label10", "Label11"}) {
        SCOPED_TRACE(name);
        const QFont font = control<QLabel>(QString::fromLatin1(name))->font();
#ifdef Q_OS_WIN
        EXPECT_EQ(font.families().value(0), "MS Serif");
#endif
        EXPECT_EQ(font.pointSize(), 6);
        EXPECT_FALSE(font.bold() || font.italic() || font.underline() || font.strikeOut());
        // Where the named face is missing, a serif one stands in.
        EXPECT_TRUE(QFontInfo(font).family().contains("Serif"))
            << QFontInfo(font).family().toStdString();
    }
}

TEST_F(Form1Test, WindowIsFixedWithOnlyACloseButton) {
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    window->resize(600, 400);
    EXPECT_EQ(window->size(), QSize(327, 146));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->windowIcon().availableSizes(),
              QList<QSize>({{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
    const QPoint offCentre =
        window->geometry().center() - window->screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 8);
}

TEST_F(Form1Test, TabVisitsTheFieldsInDesignedOrder) {
    EXPECT_EQ(QApplication::focusWidget(), dataSizeBox());
    const char* order[] = {"Text2",    "Combo1",   "Combo2",   "Option1(0)", "Text3(3)", "Text3(4)",
                           "Text3(5)", "Text3(0)", "Text3(1)", "Text3(2)",   "Text1"};
    for (const char* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), expected);
    }
    // From Speed on, the selected button is the one the focus visits.
    chooseMode(1);
    speedBox()->setFocus();
    QTest::keyClick(speedBox(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Option1(1)");
}

TEST_F(Form1Test, FieldsCarryPlainAccessibleNames) {
    const struct {
        const char* name;
        const char* spoken;
    } rows[] = {
        {"Text1", "Data size"},   {"Combo1", "Data size unit"}, {"Text2", "Transfer speed"},
        {"Combo2", "Speed unit"}, {"Text3(0)", "Years"},        {"Text3(1)", "Weeks"},
        {"Text3(2)", "Days"},     {"Text3(3)", "Hours"},        {"Text3(4)", "Minutes"},
        {"Text3(5)", "Seconds"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(control<QWidget>(QString::fromLatin1(row.name))->accessibleName(), row.spoken);
    auto* logo = control<QLabel>("Image1");
    EXPECT_TRUE(logo->accessibleName().contains("About"));
    EXPECT_EQ(logo->toolTip(), "Kestrane 2009");
}

TEST_F(Form1Test, LogoIsStretchedToItsControl) {
    auto* logo = control<QLabel>("Image1");
    ASSERT_FALSE(logo->pixmap().isNull());
    EXPECT_EQ(logo->pixmap().size(), QSize(250, 100));
    EXPECT_TRUE(logo->hasScaledContents());
    // Mostly black behind green lettering, at its 70 x 20 pixels too.
    const QImage shown = logo->grab().toImage();
    EXPECT_EQ(shown.size(), QSize(70, 20));
    int green = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c(shown.pixel(x, y));
            green += c.green() > 2 * c.red() && c.green() > 2 * c.blue() && c.green() > 80;
        }
    EXPECT_GT(green, 70 * 20 / 10);
}

}  // namespace
}  // namespace velmora::testing
