#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::core {

// The number a field holds, read from the start of the text: "" and "abc"
// read as 0, "32 KB" as 32, " 1 024" as 1024, "1.5.3" as 1.5, "1e3" as 1000,
// "&H400" as 1024. Blanks, tabs, line feeds, the no-break, thin and narrow
// no-break spaces (U+00A0, U+2009, U+202F) and the Arabic thousands
// separator (U+066C) are skipped anywhere. Arabic-Indic, Extended
// Arabic-Indic and full-width digits read as the digits they are.
// '.' and the Arabic decimal separator (U+066B) are always a decimal point;
// where the user's separator differs (","), it is one too, so that a result
// written in that locale reads back whole.
// A number beyond the double range reads as an infinity, which the
// calculations refuse; it never reaches a field.
double ParseNumber(std::string_view text, std::string_view decimalSeparator = ".");

// Where the number ParseNumber reads has its decimal point, in bytes of the
// text; none for a number without one, and for "&H" and "&O" integers.
struct TextSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
};
std::optional<TextSpan> DecimalPointOf(std::string_view text,
                                       std::string_view decimalSeparator = ".");

// The nearest multiple of 0.01, an exact half going to the even hundredth:
// 0.125 gives 0.12, 0.375 gives 0.38. Halves are judged on the double's exact
// value, so 2.675 (stored just below the half) gives 2.67.
double RoundTo2(double value);

// Plain text of a double: up to 15 significant digits, no trailing zeros,
// no grouping, no '+', the user's decimal separator. Whole values below 1e15
// are written out in full; larger and very small magnitudes take an exponent
// ("1E+15"), which ParseNumber reads back. Zero, also negative zero, is "0".
std::string NumberText(double value, std::string_view decimalSeparator = ".");

// NumberText of RoundTo2: at most two decimals.
std::string ResultText(double value, std::string_view decimalSeparator = ".");

// Nearest integer, halves to even; no value when it needs more than 32 bits
// or the input is not finite.
std::optional<std::int32_t> RoundToInt32(double value);

// The same for 64 bits.
std::optional<std::int64_t> RoundToInt64(double value);

}  // namespace velmora::core
