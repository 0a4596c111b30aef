#include "core/units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "main_window/form1_design.h"

namespace velmora::core {
namespace {

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The design's caption on the same row as the control, nearest to its right.
std::string CaptionRightOf(std::string_view name) {
    const auto& table = velmora::Form1Design;
    const auto field = std::find_if(table.begin(), table.end(),
                                    [&](const ControlDesign& c) { return c.name == name; });
    if (field == table.end())
        return "(no control " + std::string(name) + ")";
    const ControlDesign* nearest = nullptr;
    for (const ControlDesign& c : table) {
        const bool sameRow = c.place.top < field->place.top + field->place.height &&
                             field->place.top < c.place.top + c.place.height;
        if (c.kind == ControlKind::Label && sameRow && c.place.left > field->place.left &&
            (!nearest || c.place.left < nearest->place.left))
            nearest = &c;
    }
    return nearest ? std::string(nearest->caption) : "(no caption)";
}

TEST(UnitsTest, DataSizeUnitsArePowersOf1024WithBytesLast) {
    const struct {
        const char* text;
        std::int32_t multiplier;
    } rows[] = {
        {"KiloBytes", 1024}, {"MegaBytes", 1048576}, {"GigaBytes", 1073741824}, {"Bytes", 1}};
    ASSERT_EQ(DataSizeUnits.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(DataSizeUnits[i].text, rows[i].text);
        EXPECT_EQ(DataSizeUnits[i].multiplier, rows[i].multiplier);
    }
}

TEST(UnitsTest, SpeedUnitsAreKiloAndMegaOnly) {
    ASSERT_EQ(SpeedUnits.size(), 2u);
    EXPECT_EQ(SpeedUnits[0].text, "KiloBytes/second");
    EXPECT_EQ(SpeedUnits[0].multiplier, 1024);
    EXPECT_EQ(SpeedUnits[1].text, "MegaBytes/second");
    EXPECT_EQ(SpeedUnits[1].multiplier, 1048576);
}

TEST(UnitsTest, TimeComponentsRunFromYearsToSeconds) {
    // The seconds of each time field, and the caption that the window shows
    // to the field's right names that unit.
    const struct {
        const char* unit;
        std::int32_t seconds;
    } rows[] = {{"year", 31536000}, {"week", 604800}, {"day", 86400},
                {"hour", 3600},     {"minute", 60},   {"second", 1}};
    ASSERT_EQ(TimeComponents.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(TimeComponents[i].seconds, rows[i].seconds);
        const std::string caption = CaptionRightOf(FieldNames[i]);
        EXPECT_TRUE(Lowercase(caption).starts_with(rows[i].unit)) << caption;
    }
    // A year is 365 days flat: no leap days, no months.
    EXPECT_EQ(TimeComponents[0].seconds, 365 * TimeComponents[2].seconds);
    EXPECT_EQ(TimeComponents[1].seconds, 7 * TimeComponents[2].seconds);
}

}  // namespace
}  // namespace velmora::core
