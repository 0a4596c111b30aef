#include "core/units.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::core {
namespace {

TEST(UnitsTest, DataSizeUnitsArePowersOf1024WithBytesLast) {
    const struct { const char* text; std::int32_t multiplier; } rows[] = {
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
    const struct { const char* caption; std::int32_t seconds; } rows[] = {
        {"Yearss.", 31536000}, {"Weeks", 604800}, {"days", 86400},
        {"Hours", 3600},       {"Minutes.", 60},  {"seconds", 1}};
    ASSERT_EQ(TimeComponents.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(TimeComponents[i].caption, rows[i].caption);
        EXPECT_EQ(TimeComponents[i].seconds, rows[i].seconds);
    }
    // A year is 365 days flat: no leap days, no months.
    EXPECT_EQ(TimeComponents[0].seconds, 365 * TimeComponents[2].seconds);
    EXPECT_EQ(TimeComponents[1].seconds, 7 * TimeComponents[2].seconds);
}

}  // namespace
}  // namespace velmora::core
