#include <gtest/gtest.h>

#include <cstdint>

#include "design/colours.h"
#include "design/twips.h"

namespace velmora::design {
namespace {

// Red in the low byte, as Windows keeps colours.
constexpr std::uint32_t ColourValue(Rgb c) { return c.red + 256u * c.green + 65536u * c.blue; }

TEST(DesignTest, TwipsBecomeWholePixelsAtEveryResolution) {
    struct Case {
        TwipsRect twips;
        int dpi;
        PixelRect pixels;
    };
    const Case cases[] = {
        {{1320, 735, 1155, 285}, 96, {88, 49, 77, 19}},     // 15 twips to a pixel
        {{1320, 735, 1155, 285}, 144, {132, 74, 116, 28}},  // 150 %: edges round on their own
        {{1320, 735, 1155, 285}, 192, {176, 98, 154, 38}},
        {{5, -5, 10, 10}, 144, {1, -1, 1, 2}},  // halves round away from zero
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const PixelRect p = ToPixels(c.twips, c.dpi);
        EXPECT_EQ(p.left, c.pixels.left);
        EXPECT_EQ(p.top, c.pixels.top);
        EXPECT_EQ(p.width, c.pixels.width);
        EXPECT_EQ(p.height, c.pixels.height);
    }
}

TEST(DesignTest, ContrastFollowsTheReadabilityFormula) {
    EXPECT_DOUBLE_EQ(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio({197, 189, 255}, {197, 189, 255}), 1.0);
    // The result pink needs black text; a dark face white.
    EXPECT_EQ(ReadableTextOn({255, 189, 197}), (Rgb{0, 0, 0}));
    EXPECT_EQ(ReadableTextOn({53, 53, 53}), (Rgb{255, 255, 255}));
    // Black labels stay black on a light face and give way on a dark one.
    EXPECT_EQ(DesignedOrThemeText({0, 0, 0}, {240, 240, 240}, {20, 20, 20}), (Rgb{0, 0, 0}));
    EXPECT_EQ(DesignedOrThemeText({0, 0, 0}, {53, 53, 53}, {241, 241, 241}), (Rgb{241, 241, 241}));
    EXPECT_EQ(ColourValue({255, 189, 197}), 0xC5BDFFu);
}

}  // namespace
}  // namespace velmora::design
