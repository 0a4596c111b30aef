#include "core/calculations.h"

#include "core/units.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::core {
namespace {

constexpr std::int32_t bytes = 1;
constexpr std::int32_t kilo = 1024;
constexpr std::int32_t mega = 1048576;
constexpr std::int32_t giga = 1073741824;
constexpr double inf = std::numeric_limits<double>::infinity();

using Fields = std::array<std::string, 6>;

TimeTexts secondsOnly(std::string_view text) { return {"", "", "", "", "", text}; }

TEST(ReadQuantityTest, MultipliesTheFigureInDoubles) {
    const struct {
        const char* text;
        std::int32_t multiplier;
        const char* separator;
        double value;
    } rows[] = {{"32", kilo, ".", 32768},
                {"", kilo, ".", 0},
                {"abc", mega, ".", 0},
                {"1.5", giga, ".", 1610612736},
                {"-90", kilo, ".", -92160},
                {"2147483647", kilo, ".", 2199023254528.0},
                {"5,27", kilo, ",", 5.27 * 1024},
                {"5,27", kilo, ".", 5 * 1024}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_DOUBLE_EQ(ReadQuantity(row.text, row.multiplier, row.separator), row.value);
    }
    EXPECT_EQ(ReadQuantity("1E400", bytes), inf);
    EXPECT_EQ(ReadQuantity("1E308", giga), inf);
}

TEST(ReadTotalSecondsTest, SumsTheSixFields) {
    const struct {
        TimeTexts texts;
        const char* separator;
        double total;
    } rows[] = {{{"", "", "", "", "", ""}, ".", 0},
                {{"1", "", "", "", "", ""}, ".", 31536000},
                {{"1", "1", "1", "1", "1", "1"}, ".", 32230861},
                {{"", "", "", "1.5", "", ""}, ".", 5400},
                {{"", "", "", "1,5", "", ""}, ",", 5400},
                {{"", "", "", "1,5", "", ""}, ".", 3600},
                {{"", "", "", "", "1", "-60"}, ".", 0},
                {{"x", " 2", "", "", "", "0.5"}, ".", 1209600.5}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(ReadTotalSeconds(rows[i].texts, rows[i].separator), rows[i].total);
    }
    // First a product passes the largest double, then a sum of two finite products.
    EXPECT_EQ(ReadTotalSeconds({"1E301", "", "", "", "", ""}), inf);
    EXPECT_EQ(ReadTotalSeconds({"5E300", "1E302", "", "", "", ""}), inf);
}

TEST(BreakDownSecondsTest, RoundsBeforeEachDivision) {
    const struct {
        double total;
        std::array<double, 5> counts;
        double seconds;
    } rows[] = {{1, {0, 0, 0, 0, 0}, 1},
                {0, {0, 0, 0, 0, 0}, 0},
                {1048576, {0, 1, 5, 3, 16}, 16},
                {1024, {0, 0, 0, 0, 17}, 4},
                {104857600, {3, 16, 6, 15, 6}, 40},
                {58.5, {0, 0, 0, 0, 0}, 58.5},
                {59.5, {0, 0, 0, 0, 1}, -0.5},
                {3599.5, {0, 0, 0, 1, 0}, -0.5},
                {31535999.5, {1, 0, 0, 0, 0}, -0.5},
                {-90, {0, 0, 0, 0, -1}, -30},
                {-59.5, {0, 0, 0, 0, -1}, 0.5},
                {-31536000, {-1, 0, 0, 0, 0}, 0},
                {2147483647, {68, 5, 0, 3, 14}, 7},
                {3145728000.0, {99, 39, 0, 21, 20}, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.total));
        const auto breakdown = BreakDownSeconds(row.total);
        ASSERT_TRUE(breakdown.has_value());
        EXPECT_EQ(breakdown->counts, row.counts);
        EXPECT_DOUBLE_EQ(breakdown->seconds, row.seconds);
    }
}

TEST(BreakDownSecondsTest, PartsAddBackToTheTotal) {
    const double totals[] = {0.4,          59.5,          -59.5,      3599.5, 1048576.25,
                             3145728000.0, -123456789.75, 1e12 + 0.5, 9e15,   -4.2e18};
    // No count reaches the next larger component: at most 52 weeks, 6 days, 23 hours.
    const double caps[] = {inf, 53, 7, 24, 60};
    for (const double total : totals) {
        SCOPED_TRACE(testing::PrintToString(total));
        const auto breakdown = BreakDownSeconds(total);
        ASSERT_TRUE(breakdown.has_value());
        double sum = breakdown->seconds;
        for (std::size_t i = 0; i < 5; ++i) {
            const double count = breakdown->counts[i];
            EXPECT_EQ(count, std::trunc(count)) << "component " << i;
            EXPECT_LT(std::abs(count), caps[i]) << "component " << i;
            sum += count * TimeComponents[i].seconds;
        }
        EXPECT_LE(std::abs(breakdown->seconds), 60);
        EXPECT_NEAR(sum, total, std::abs(total) * 1e-12);
    }
}

TEST(BreakDownSecondsTest, GivesNothingBeyond64BitSeconds) {
    for (const double total : {inf, -inf, std::nan(""), 1e19, -1e19, 9223372036854775808.0}) {
        SCOPED_TRACE(testing::PrintToString(total));
        EXPECT_EQ(BreakDownSeconds(total), std::nullopt);
    }
}

TEST(SelectSpeedUnitTest, MegaFrom1048576BytesPerSecond) {
    const struct {
        double speed;
        int index;
        double divisor;
    } rows[] = {{1048576, 1, mega},     {1048576.5, 1, mega}, {1048577, 1, mega},
                {1073741824, 1, mega},  {1e300, 1, mega},     {1048575, 0, kilo},
                {1048575.999, 0, kilo}, {1024, 0, kilo},      {1, 0, kilo},
                {0, 0, kilo},           {-5e6, 0, kilo}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.speed));
        const UnitChoice choice = SelectSpeedUnit(row.speed);
        EXPECT_EQ(choice.index, row.index);
        EXPECT_EQ(choice.divisor, row.divisor);
    }
}

TEST(SelectDataSizeUnitTest, EachUnitFromItsOwnSize) {
    const struct {
        double size;
        int index;
        double divisor;
    } rows[] = {{1073741824, 2, giga}, {1073741824.5, 2, giga}, {1073741825, 2, giga},
                {1e300, 2, giga},      {1073741823, 1, mega},   {1073741823.9, 1, mega},
                {1048577, 1, mega},    {1048576, 1, mega},      {1048575, 0, kilo},
                {1048575.5, 0, kilo},  {1025, 0, kilo},         {1024, 0, kilo},
                {1023.999, 3, bytes},  {1023, 3, bytes},        {0.5, 3, bytes},
                {0, 3, bytes},         {-1, 3, bytes},          {-2e9, 3, bytes}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.size));
        const UnitChoice choice = SelectDataSizeUnit(row.size);
        EXPECT_EQ(choice.index, row.index);
        EXPECT_EQ(choice.divisor, row.divisor);
    }
}

TEST(CalculateTimeTest, SplitsTheTimeOverSixFields) {
    const struct {
        const char* data;
        std::int32_t dataUnit;
        const char* speed;
        std::int32_t speedUnit;
        const char* separator;
        Fields fields;
    } rows[] = {{"32", kilo, "32", kilo, ".", {"0", "0", "0", "0", "0", "1"}},
                {"1", giga, "1", kilo, ".", {"0", "1", "5", "3", "16", "16"}},
                {"1", giga, "1", mega, ".", {"0", "0", "0", "0", "17", "4"}},
                {"100", giga, "1", kilo, ".", {"3", "16", "6", "15", "6", "40"}},
                {"1", kilo, "3", kilo, ".", {"0", "0", "0", "0", "0", "0.33"}},
                {"59.5", kilo, "1", kilo, ".", {"0", "0", "0", "0", "1", "-0.5"}},
                {"58.5", kilo, "1", kilo, ".", {"0", "0", "0", "0", "0", "58.5"}},
                {"3599.5", kilo, "1", kilo, ".", {"0", "0", "0", "1", "0", "-0.5"}},
                {"-90", kilo, "1", kilo, ".", {"0", "0", "0", "0", "-1", "-30"}},
                {"90", kilo, "-1", kilo, ".", {"0", "0", "0", "0", "-1", "-30"}},
                {"-59.5", kilo, "1", kilo, ".", {"0", "0", "0", "0", "-1", "0.5"}},
                {"-0.004", kilo, "1", kilo, ".", {"0", "0", "0", "0", "0", "0"}},
                {"2147483647", kilo, "1", kilo, ".", {"68", "5", "0", "3", "14", "7"}},
                {"3000", giga, "1", kilo, ".", {"99", "39", "0", "21", "20", "0"}},
                {"1,5", kilo, "1", kilo, ",", {"0", "0", "0", "0", "0", "1,5"}},
                {"5,27", kilo, "1", kilo, ",", {"0", "0", "0", "0", "0", "5,27"}},
                {"1,5", kilo, "1", kilo, ".", {"0", "0", "0", "0", "0", "1"}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.data) + " at " + row.speed);
        EXPECT_EQ(CalculateTime(row.data, row.dataUnit, row.speed, row.speedUnit, row.separator),
                  std::optional<Fields>(row.fields));
    }
}

TEST(CalculateTimeTest, WritesNothingForZeroSpeedOrNonFiniteFigures) {
    const struct {
        const char* data;
        std::int32_t dataUnit;
        const char* speed;
    } rows[] = {{"32", kilo, ""},      {"32", kilo, "0"},
                {"32", kilo, "abc"},   {"1E400", kilo, "1"},
                {"-1E400", kilo, "1"}, {"1", kilo, "1E400"},
                {"1E308", giga, "1"},  {"1E300", bytes, "1E-300"},
                {"1E300", bytes, "1"}};  // finite, but far beyond 64-bit seconds
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.data) + " at " + row.speed);
        EXPECT_EQ(CalculateTime(row.data, row.dataUnit, row.speed, kilo), std::nullopt);
    }
}

TEST(CalculateSpeedTest, ChoosesTheUnitBeforeRounding) {
    const struct {
        const char* data;
        std::int32_t dataUnit;
        TimeTexts time;
        const char* separator;
        int index;
        const char* text;
    } rows[] = {{"32", kilo, secondsOnly("1"), ".", 0, "32"},
                {"1", giga, secondsOnly("1"), ".", 1, "1024"},
                {"1048575", bytes, secondsOnly("1"), ".", 0, "1024"},
                {"1048576", bytes, secondsOnly("1"), ".", 1, "1"},
                {"1048577", bytes, secondsOnly("1"), ".", 1, "1"},
                {"1", bytes, secondsOnly("1"), ".", 0, "0"},
                {"5.1", bytes, secondsOnly("1"), ".", 0, "0"},
                {"5.2", bytes, secondsOnly("1"), ".", 0, "0.01"},
                {"1", giga, {"", "", "", "1.5", "", ""}, ".", 0, "194.18"},
                {"-1", giga, secondsOnly("1"), ".", 0, "-1048576"},
                {"1", giga, secondsOnly("-1"), ".", 0, "-1048576"},
                {"1,5", kilo, secondsOnly("1"), ",", 0, "1,5"},
                {"3", kilo, secondsOnly("1,5"), ",", 0, "2"},
                {"1,5", kilo, secondsOnly("1"), ".", 0, "1"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.data) + " over " + testing::PrintToString(row.time));
        const auto result = CalculateSpeed(row.data, row.dataUnit, row.time, row.separator);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->unitIndex, std::optional<int>(row.index));
        EXPECT_EQ(result->text, row.text);
    }
}

TEST(CalculateSpeedTest, ZeroTimeWritesZeroAndKeepsTheUnit) {
    for (const TimeTexts& time :
         {TimeTexts{"", "", "", "", "", ""}, TimeTexts{"", "", "", "", "1", "-60"},
          TimeTexts{"abc", "0", "", "", "", "-"}}) {
        SCOPED_TRACE(testing::PrintToString(time));
        const auto result = CalculateSpeed("32", kilo, time);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->unitIndex, std::nullopt);
        EXPECT_EQ(result->text, "0");
    }
}

TEST(CalculateSpeedTest, WritesNothingForNonFiniteFigures) {
    const struct {
        const char* data;
        std::int32_t dataUnit;
        TimeTexts time;
    } rows[] = {{"1E400", kilo, secondsOnly("1")},
                {"1E400", kilo, secondsOnly("")},  // even with no time to divide by
                {"1", kilo, secondsOnly("1E400")},
                {"1", kilo, {"1E301", "", "", "", "", ""}},
                {"1", kilo, {"5E300", "1E302", "", "", "", ""}},
                {"1E308", giga, secondsOnly("1")},
                {"1E300", bytes, secondsOnly("1E-300")}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.data) + " over " + testing::PrintToString(row.time));
        EXPECT_EQ(CalculateSpeed(row.data, row.dataUnit, row.time), std::nullopt);
    }
}

TEST(CalculateDataTest, ChoosesTheUnitOnTheUnscaledBytes) {
    const struct {
        const char* speed;
        std::int32_t speedUnit;
        TimeTexts time;
        const char* separator;
        int index;
        const char* text;
    } rows[] = {{"32", kilo, secondsOnly("1"), ".", 0, "32"},
                {"1", kilo, secondsOnly("0.5"), ".", 3, "512"},
                {"1", kilo, secondsOnly("1"), ".", 0, "1"},
                {"1", kilo, {"", "", "", "1.5", "", ""}, ".", 1, "5.27"},
                {"1", mega, {"1", "", "", "", "", ""}, ".", 2, "30796.88"},
                {"1", kilo, {"", "", "", "", "-1", ""}, ".", 3, "-61440"},
                {"-1", mega, {"1", "", "", "", "", ""}, ".", 3, "-33067892736000"},
                {"", kilo, secondsOnly("1"), ".", 3, "0"},
                {"1", kilo, secondsOnly(""), ".", 3, "0"},
                {"1023", bytes, secondsOnly("1"), ".", 3, "1023"},
                {"1024", bytes, secondsOnly("1"), ".", 0, "1"},
                {"1048575", bytes, secondsOnly("1"), ".", 0, "1024"},
                {"1048576", bytes, secondsOnly("1"), ".", 1, "1"},
                {"1073741823", bytes, secondsOnly("1"), ".", 1, "1024"},
                {"1073741824", bytes, secondsOnly("1"), ".", 2, "1"},
                {"1,5", kilo, {"", "", "", "1", "", ""}, ",", 1, "5,27"},
                {"5,27", mega, secondsOnly("1"), ",", 1, "5,27"},
                {"5,27", mega, secondsOnly("1"), ".", 1, "5"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.speed) + " for " + testing::PrintToString(row.time));
        const auto result = CalculateData(row.speed, row.speedUnit, row.time, row.separator);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->unitIndex, std::optional<int>(row.index));
        EXPECT_EQ(result->text, row.text);
    }
}

TEST(CalculateDataTest, WritesNothingForNonFiniteFigures) {
    const struct {
        const char* speed;
        std::int32_t speedUnit;
        TimeTexts time;
    } rows[] = {{"1E400", kilo, secondsOnly("1")},
                {"-1E400", kilo, secondsOnly("1")},
                {"1", kilo, secondsOnly("1E400")},
                {"0", kilo, secondsOnly("1E400")},
                {"1E308", mega, secondsOnly("1")},
                {"1E300", kilo, {"1E10", "", "", "", "", ""}},
                {"1", kilo, {"5E300", "1E302", "", "", "", ""}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.speed) + " for " + testing::PrintToString(row.time));
        EXPECT_EQ(CalculateData(row.speed, row.speedUnit, row.time), std::nullopt);
    }
}

TEST(CalculationsTest, RoundsEachProductBeforeAddingIt) {
    // Texts a fused multiply-add (a * b + c rounded once) would change.
    const struct {
        decltype(&CalculateSpeed) calculate;
        const char* figure;
        std::int32_t unit;
        TimeTexts time;
        int index;
        const char* text;
    } rows[] = {{CalculateSpeed, "18", giga, {"", "", "0.14", "1.76", "", ""}, 1, "1"},
                {CalculateSpeed, "81", mega, {"", "0.57", "3.69", "", "", ""}, 0, "0.12"},
                {CalculateData, "1", mega, {"4.1", "9.1", "", "", "", ""}, 2, "131641.88"},
                {CalculateData, "1", kilo, {"", "", "", "1.1", "3.2", "0.32"}, 1, "4.05"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.figure) + " with " + testing::PrintToString(row.time));
        const auto result = row.calculate(row.figure, row.unit, row.time, ".");
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->unitIndex, std::optional<int>(row.index));
        EXPECT_EQ(result->text, row.text);
    }
    // Beyond 2^53 seconds the years' product is inexact; fused, the remainder would differ.
    EXPECT_EQ(CalculateTime("2E18", kilo, "1", kilo),
              std::optional<Fields>({"63419583967", "27", "4", "3", "35", "28"}));
}

}  // namespace
}  // namespace velmora::core
