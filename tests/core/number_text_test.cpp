#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace velmora::core {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct ParseRow {
    const char* text;
    double value;
};

template <std::size_t N>
void expectParses(const ParseRow (&rows)[N], const char* separator = ".") {
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::string(row.text)));
        EXPECT_DOUBLE_EQ(ParseNumber(row.text, separator), row.value);
    }
}

TEST(ParseNumberTest, ReadsTheLeadingNumberOnly) {
    const ParseRow rows[] = {{"", 0},    {"abc", 0},    {"-", 0},      {"+", 0},     {".", 0},
                             {"32", 32}, {"32abc", 32}, {"32 KB", 32}, {"1.5", 1.5}, {".5", 0.5},
                             {"-2", -2}, {"+2", 2},     {"-.5", -0.5}, {"--2", 0},   {"+-2", 0},
                             {"1,5", 1}, {"1,024", 1},  {"007", 7},    {"12.", 12},  {"0.1", 0.1}};
    expectParses(rows);
}

TEST(ParseNumberTest, SkipsBlanksTabsAndLineFeedsButNotCarriageReturns) {
    const ParseRow rows[] = {{"  32", 32},     {"3 2", 32},    {" 1 024", 1024}, {"1\t024", 1024},
                             {"1\n024", 1024}, {"\t\n 7", 7},  {"- 5", -5},      {"1 . 5", 1.5},
                             {"1 e 3", 1000},  {"&H 1 0", 16}, {"1\r024", 1},    {"\r5", 0}};
    expectParses(rows);
}

TEST(ParseNumberTest, ReadsArabicIndicDigitsWhereverLatinOnesRead) {
    // U+0660.. and the Persian U+06F0.., beside Latin digits, blanks, separators.
    const ParseRow rows[] = {
        {"\u0661\u0662", 12},   {"\u06F1\u06F5\u06F0", 150}, {"\u06F1.\u06F5", 1.5},
        {"1\u0669", 19},        {"\u0660\u0660\u0667", 7},   {"-\u0662", -2},
        {"\u06F2 \u06F4", 24},  {"\u0661e\u0663", 1000},     {"&H\u0661\u0660", 16},
        {"&O\u06F1\u06F7", 15}, {"\u0661\u066B\u0665", 1.5}, {"\u066A", 0},
        {"\u06FA", 0},          {"\u0661\u06FA\u0662", 1},   {"\u065F", 0}};
    expectParses(rows);
    EXPECT_DOUBLE_EQ(ParseNumber("\u06F1,\u06F5", ","), 1.5);
    // A lone lead byte at the end reads as nothing.
    EXPECT_DOUBLE_EQ(ParseNumber("7\xD9"), 7);
}

TEST(ParseNumberTest, ReadsTheKeyboardsOwnSeparatorsBlanksAndFullWidthDigits) {
    // The Arabic decimal point U+066B and thousands separator U+066C; the
    // no-break U+00A0, thin U+2009 and narrow no-break U+202F spaces;
    // full-width digits U+FF10..U+FF19, and the characters either side.
    const ParseRow rows[] = {{"\u06F1\u066B\u06F5", 1.5},
                             {"1\u066B5", 1.5},
                             {"\u066B5", 0.5},
                             {"1\u066B5\u066B3", 1.5},
                             {"1.5\u066B3", 1.5},
                             {"\u0661\u066C\u0660\u0662\u0664", 1024},
                             {"1\u066C024\u066B5", 1024.5},
                             {"1\u00A0024", 1024},
                             {"1\u202F024", 1024},
                             {"1\u2009024", 1024},
                             {"\u00A0-\u202F5", -5},
                             {"1\u200A024", 1},
                             {"1\u00A1", 1},
                             {"\uFF11\uFF10", 10},
                             {"\uFF19.\uFF15", 9.5},
                             {"\uFF10\uFF10\uFF17", 7},
                             {"\uFF0F", 0},
                             {"\uFF1A", 0},
                             {"\uFF21", 0},
                             {"&H\uFF11\uFF10", 16},
                             {"1\xEF\xBC", 1}};
    expectParses(rows);
    EXPECT_DOUBLE_EQ(ParseNumber("1\u066B5", ","), 1.5);
    EXPECT_DOUBLE_EQ(ParseNumber("1,5\u066B3", ","), 1.5);
}

TEST(DecimalPointOfTest, FindsThePointTheReadingTakes) {
    const struct {
        const char* text;
        const char* separator;
        std::optional<std::size_t> offset;
        std::size_t length;
    } rows[] = {{"1,5", ",", 1, 1},
                {"1.5", ",", 1, 1},
                {" 1 ,5", ",", 3, 1},
                {"1.5,3", ",", 1, 1},
                {"1,5.3", ",", 1, 1},
                {"1,5", ".", std::nullopt, 0},
                {"15", ",", std::nullopt, 0},
                {"\u06F1\u066B\u06F5", ".", 2, 2},
                {"1e3,5", ",", std::nullopt, 0},
                {"&H1,5", ",", std::nullopt, 0},
                {"", ",", std::nullopt, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::string(row.text)));
        const auto point = DecimalPointOf(row.text, row.separator);
        ASSERT_EQ(point.has_value(), row.offset.has_value());
        if (point) {
            EXPECT_EQ(point->offset, *row.offset);
            EXPECT_EQ(point->length, row.length);
        }
    }
}

TEST(ParseNumberTest, SecondDecimalPointEndsTheNumber) {
    const ParseRow rows[] = {{"1.5.3", 1.5}, {"1..5", 1}, {"..5", 0}, {"1.5e2.5", 150}};
    expectParses(rows);
}

TEST(ParseNumberTest, ReadsExponents) {
    const ParseRow rows[] = {{"1.5E3", 1500},   {"1e3", 1000}, {"1e+2", 100},   {"2e-1", 0.2},
                             {"-1.5e3", -1500}, {".5e1", 5},   {"1E", 1},       {"1E+", 1},
                             {"1e-", 1},        {"1Ex", 1},    {"1E3.5", 1000}, {"1E-2", 0.01}};
    expectParses(rows);
}

TEST(ParseNumberTest, ReadsHexadecimalAndOctalAsPositiveIntegers) {
    const ParseRow rows[] = {{"&H400", 1024},
                             {"&h10", 16},
                             {"&O17", 15},
                             {"&o10", 8},
                             {"&HFFFF", 65535},
                             {"&HFFFFFFFF", 4294967295.0},
                             {"&O37777777777", 4294967295.0},
                             {"&H1E3", 483},
                             {"&H10.5", 16},
                             {"&H1G", 1},
                             {"&O78", 7},
                             {"&H", 0},
                             {"&O8", 0},
                             {"&", 0},
                             {"-&H10", 0}};
    expectParses(rows);
}

TEST(ParseNumberTest, BeyondTheDoubleRangeGivesInfinityOrZero) {
    EXPECT_EQ(ParseNumber("1E400"), inf);
    EXPECT_EQ(ParseNumber("-1E400"), -inf);
    EXPECT_EQ(ParseNumber("1E-400"), 0.0);
    EXPECT_EQ(ParseNumber("1.7976931348623157E308"), DBL_MAX);
}

TEST(ParseNumberTest, AcceptsTheUsersSeparatorAsWellAsFullStop) {
    const ParseRow comma[] = {{"1,5", 1.5},   {"5,27", 5.27}, {"1.5", 1.5},   {",5", 0.5},
                              {"1,5,3", 1.5}, {"1.5,3", 1.5}, {"1,5e2", 150}, {"-0,25", -0.25}};
    expectParses(comma, ",");
    // With a full stop as the separator a comma still ends the number.
    const ParseRow stop[] = {{"1,5", 1}, {"5,27", 5}};
    expectParses(stop, ".");
}

TEST(RoundTo2Test, HalvesGoToEvenHundredth) {
    const struct {
        double value;
        double rounded;
    } rows[] = {{0.125, 0.12},    {0.375, 0.38},   {0.625, 0.62}, {0.875, 0.88},
                {-0.125, -0.12},  {-0.375, -0.38}, {1.125, 1.12}, {30796.875, 30796.88},
                {1023.999, 1024}, {0.004, 0},      {-0.004, 0},   {1.0 / 3, 0.33},
                {31.25, 31.25},   {-61440, -61440}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.value));
        EXPECT_DOUBLE_EQ(RoundTo2(row.value), row.rounded);
    }
}

TEST(RoundTo2Test, JudgesHalvesByTheStoredValue) {
    // Each literal is stored a hair off the half; multiplying by 100 first would hide it.
    const struct {
        double value;
        double rounded;
    } rows[] = {{2.675, 2.67}, {1.005, 1},    {2.635, 2.63},   {1.115, 1.11},
                {0.015, 0.01}, {0.005, 0.01}, {-0.005, -0.01}, {-2.675, -2.67}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.value));
        EXPECT_DOUBLE_EQ(RoundTo2(row.value), row.rounded);
    }
}

TEST(RoundTo2Test, LeavesHugeValuesAlone) {
    for (const double value : {4503599627370497.0, 1e300, DBL_MAX, -DBL_MAX}) {
        SCOPED_TRACE(testing::PrintToString(value));
        EXPECT_EQ(RoundTo2(value), value);
    }
}

TEST(NumberTextTest, WritesPlainDecimals) {
    const struct {
        double value;
        const char* text;
    } rows[] = {{5, "5"},
                {-1, "-1"},
                {0, "0"},
                {-0.0, "0"},
                {1024, "1024"},
                {0.5, "0.5"},
                {31.25, "31.25"},
                {-0.25, "-0.25"},
                {0.1 + 0.2, "0.3"},
                {1.0 / 3, "0.333333333333333"},
                {2.0 / 3, "0.666666666666667"},
                {0.0001, "0.0001"},
                {2147483647, "2147483647"},
                {-33067892736000, "-33067892736000"},
                {999999999999999, "999999999999999"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.value));
        EXPECT_EQ(NumberText(row.value), row.text);
    }
}

TEST(NumberTextTest, TakesAnExponentForHugeAndTinyMagnitudes) {
    const struct {
        double value;
        const char* text;
    } rows[] = {{1e15, "1E+15"},     {-1e15, "-1E+15"},
                {1.5e20, "1.5E+20"}, {1234567890123456, "1.23456789012346E+15"},
                {1e100, "1E+100"},   {DBL_MAX, "1.79769313486232E+308"},
                {1e-5, "1E-05"},     {-2.5e-7, "-2.5E-07"},
                {0.00009, "9E-05"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.value));
        EXPECT_EQ(NumberText(row.value), row.text);
    }
}

TEST(NumberTextTest, UsesTheGivenSeparator) {
    EXPECT_EQ(NumberText(0.5, ","), "0,5");
    EXPECT_EQ(NumberText(30796.88, ","), "30796,88");
    EXPECT_EQ(NumberText(1.5e20, ","), "1,5E+20");
    EXPECT_EQ(NumberText(1024, ","), "1024");
}

TEST(NumberTextTest, ReadsBackWhatItWrites) {
    const double values[] = {5.27, -0.5,    30796.88, 123456789012345, 1e15, 1.5e20,
                             1e-5, -2.5e-7, 1e308};
    for (const char* separator : {".", ","}) {
        for (const double value : values) {
            SCOPED_TRACE(testing::PrintToString(value) + " with '" + separator + "'");
            EXPECT_EQ(ParseNumber(NumberText(value, separator), separator), value);
        }
    }
}

TEST(ResultTextTest, WritesAtMostTwoDecimals) {
    const struct {
        double value;
        const char* text;
    } rows[] = {{0.125, "0.12"},    {0.375, "0.38"},
                {-0.125, "-0.12"},  {30796.875, "30796.88"},
                {1023.999, "1024"}, {0.004, "0"},
                {-0.004, "0"},      {1.0 / 3, "0.33"},
                {31.25, "31.25"},   {0.1, "0.1"},
                {1024, "1024"},     {2.675, "2.67"},
                {-0.5, "-0.5"},     {1048575.0 / 1024, "1024"},
                {1e15, "1E+15"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.value));
        EXPECT_EQ(ResultText(row.value), row.text);
    }
}

TEST(ResultTextTest, WritesTheUsersSeparator) {
    EXPECT_EQ(ResultText(5.2734375, ","), "5,27");
    EXPECT_EQ(ResultText(0.5, ","), "0,5");
    EXPECT_EQ(ResultText(-0.004, ","), "0");
    EXPECT_EQ(ResultText(30796.875, ","), "30796,88");
}

TEST(RoundToInt32Test, HalvesGoToEven) {
    const struct {
        double value;
        std::int32_t rounded;
    } rows[] = {{59.5, 60}, {58.5, 58}, {0.4, 0},   {0.5, 0},   {1.5, 2}, {2.5, 2},
                {-0.5, 0},  {-1.5, -2}, {-2.5, -2}, {-0.6, -1}, {0.6, 1}, {-90, -90}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.value));
        EXPECT_EQ(RoundToInt32(row.value), std::optional<std::int32_t>(row.rounded));
    }
}

TEST(RoundToInt32Test, GivesNothingBeyond32Bits) {
    const struct {
        double value;
        std::optional<std::int32_t> rounded;
    } rows[] = {
        {2147483647.4, 2147483647},    {2147483646.5, 2147483646},   {2147483647.5, std::nullopt},
        {2147483648.0, std::nullopt},  {-2147483648.5, -2147483648}, {-2147483648.6, std::nullopt},
        {-2147483649.5, std::nullopt}, {3145728000.0, std::nullopt}, {nan, std::nullopt},
        {inf, std::nullopt},           {-inf, std::nullopt}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.value));
        EXPECT_EQ(RoundToInt32(row.value), row.rounded);
    }
}

TEST(RoundToInt64Test, HalvesGoToEvenAcrossTheInt64Range) {
    constexpr std::int64_t min64 = std::numeric_limits<std::int64_t>::min();
    const struct {
        double value;
        std::optional<std::int64_t> rounded;
    } rows[] = {{0.5, 0},
                {1.5, 2},
                {-2.5, -2},
                {59.5, 60},
                {2147483647.5, 2147483648},
                {3145728000.0, 3145728000},
                {9223372036854774784.0, 9223372036854774784},  // the largest double below 2^63
                {9223372036854775808.0, std::nullopt},         // 2^63
                {-9223372036854775808.0, min64},
                {-9223372036854777856.0, std::nullopt},  // the next double below -2^63
                {1e19, std::nullopt},
                {nan, std::nullopt},
                {inf, std::nullopt},
                {-inf, std::nullopt}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.value));
        EXPECT_EQ(RoundToInt64(row.value), row.rounded);
    }
}

}  // namespace
}  // namespace velmora::core
