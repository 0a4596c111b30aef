// Fuzz target for the reading and writing of numbers.
//
// Input: any bytes. The whole input is read by ParseNumber with ".", "," and
// "\xd9\xab" as the user's separator. The doubles then checked are those three
// readings, a hundredth of each, and the first eight 8-byte words of the input
// taken three ways: as the bits of a double, as a whole number and as a number
// of hundredths.
// A broken property prints what broke and aborts, so libFuzzer keeps the input.

#include "core/number_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace velmora::core;

constexpr std::string_view separators[] = {".", ",", "\xd9\xab"};

[[noreturn]] void fail(const char* what, double value, std::string_view text,
                       std::string_view separator) {
    std::fprintf(stderr,
                 "Broken property: %s\n  value %.17g (%a)\n  text \"%.*s\"\n"
                 "  separator \"%.*s\"\n",
                 what, value, value, static_cast<int>(text.size()), text.data(),
                 static_cast<int>(separator.size()), separator.data());
    std::abort();
}

void check(bool ok, const char* what, double value, std::string_view text = {},
           std::string_view separator = ".") {
    if (!ok)
        fail(what, value, text, separator);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct TextShape {
    int significantDigits;
    int decimals;
    bool exponent;
};

// The only form a written number may take: [-]digits[sep digits][E(+|-)digits],
// with no leading zero, no trailing zero after the separator and no "-0".
std::optional<TextShape> shapeOf(std::string_view text, std::string_view separator) {
    std::size_t pos = 0;
    const auto digits = [&] {
        const std::size_t start = pos;
        while (pos < text.size() && isDigit(text[pos]))
            ++pos;
        return text.substr(start, pos - start);
    };
    if (text.starts_with('-'))
        ++pos;
    const std::string_view whole = digits();
    if (whole.empty() || (whole.size() > 1 && whole.front() == '0'))
        return std::nullopt;
    std::string_view fraction;
    if (text.substr(pos).starts_with(separator)) {
        pos += separator.size();
        fraction = digits();
        if (fraction.empty() || fraction.back() == '0')
            return std::nullopt;
    }
    bool exponent = false;
    if (text.substr(pos).starts_with('E')) {
        ++pos;
        if (pos == text.size() || (text[pos] != '+' && text[pos] != '-'))
            return std::nullopt;
        ++pos;
        if (digits().empty())
            return std::nullopt;
        exponent = true;
    }
    if (pos != text.size())
        return std::nullopt;
    if (text == "-0")
        return std::nullopt;

    std::string all(whole);
    all += fraction;
    const std::size_t first = all.find_first_not_of('0');
    const int significant = first == std::string::npos ? 1 : static_cast<int>(all.size() - first);
    return TextShape{significant, static_cast<int>(fraction.size()), exponent};
}

// Fifteen significant digits carry a relative error of at most 5e-15.
bool closeTo15Digits(double back, double expected) {
    return std::fabs(back - expected) <= 1e-14 * std::fabs(expected) + 1e-300;
}

// Arabic-Indic (U+0660..) and Extended Arabic-Indic (U+06F0..) digits, as UTF-8.
std::size_t nativeDigits(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(text[i + 1]);
        count += (lead == 0xD9 && next >= 0xA0 && next <= 0xA9) ||
                 (lead == 0xDB && next >= 0xB0 && next <= 0xB9);
    }
    return count;
}

// Whether dropping the blanks would put two bytes of multi-byte characters
// side by side, which may make one character of them: a digit, a decimal
// point or a blank that the reading takes.
bool blanksSplitMultiByte(std::string_view text) {
    const auto high = [](char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; };
    char before = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != ' ' && c != '\t' && c != '\n') {
            before = c;
            continue;
        }
        const std::size_t next = text.find_first_not_of(" \t\n", i);
        if (next != std::string_view::npos && high(before) && high(text[next]))
            return true;
        i = next == std::string_view::npos ? text.size() : next - 1;
    }
    return false;
}

std::size_t occurrences(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t pos = text.find(part); pos != std::string_view::npos;
         pos = text.find(part, pos + part.size()))
        ++count;
    return count;
}

// Independent oracles: a text of plain decimal characters reads as the C
// library's strtod reads its prefix, and short hexadecimal and octal texts as
// strtoull reads them.
void checkAgainstCLibrary(std::string_view text, double value) {
    const std::string copy(text);
    if (!text.empty() && copy.find_first_not_of("0123456789+-.eE") == std::string::npos)
        check(value == std::strtod(copy.c_str(), nullptr), "ParseNumber agrees with strtod", value,
              text);
    if (text.size() < 3 || text[0] != '&')
        return;
    const char radix = static_cast<char>(text[1] | 0x20);
    const std::string digits = copy.substr(2);
    if (radix == 'h' && digits.size() <= 13 &&
        digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos)
        check(value == static_cast<double>(std::strtoull(digits.c_str(), nullptr, 16)),
              "&H agrees with strtoull", value, text);
    if (radix == 'o' && digits.size() <= 17 &&
        digits.find_first_not_of("01234567") == std::string::npos)
        check(value == static_cast<double>(std::strtoull(digits.c_str(), nullptr, 8)),
              "&O agrees with strtoull", value, text);
}

void checkParse(std::string_view text) {
    const double dotValue = ParseNumber(text, ".");
    check(!std::isnan(dotValue), "ParseNumber is never NaN", dotValue, text);
    checkAgainstCLibrary(text, dotValue);
    for (const std::string_view separator : separators) {
        const double value = ParseNumber(text, separator);
        check(!std::isnan(value), "ParseNumber is never NaN", value, text, separator);
        // The user's separator only adds a decimal point; without it reading is as with '.'.
        if (text.find(separator) == std::string_view::npos)
            check(value == dotValue, "a separator not in the text changes nothing", value, text,
                  separator);

        // Blanks, tabs and line feeds count for nothing wherever they stand.
        std::string squeezed;
        for (const char c : text)
            if (c != ' ' && c != '\t' && c != '\n')
                squeezed += c;
        // Unless dropping them joins the parts of a multi-byte character.
        if (occurrences(squeezed, separator) == occurrences(text, separator) &&
            nativeDigits(squeezed) == nativeDigits(text) && !blanksSplitMultiByte(text))
            check(ParseNumber(squeezed, separator) == value, "blanks do not change the reading",
                  value, text, separator);

        // A leading '-' mirrors a number that starts with a digit, Latin or
        // native, or a point.
        if (!text.empty() && (isDigit(text.front()) || nativeDigits(text.substr(0, 2)) == 1 ||
                              text.front() == '.' || text.starts_with(separator))) {
            const double negated = ParseNumber("-" + std::string(text), separator);
            check(negated == -value, "a leading '-' negates", value, text, separator);
        }
    }
}

void checkRounding(double value) {
    const double rounded = RoundTo2(value);
    if (!std::isfinite(value)) {
        check(std::isnan(value) ? std::isnan(rounded) : rounded == value,
              "RoundTo2 passes infinities and NaN unchanged", value);
        return;
    }
    check(std::isfinite(rounded), "RoundTo2 of a finite value is finite", value);
    check(RoundTo2(rounded) == rounded, "RoundTo2 is idempotent", value);
    check(RoundTo2(-value) == -rounded, "RoundTo2 mirrors negatives", value);
    // Beyond 2^52 every double is whole, so nothing is left to round.
    if (std::fabs(value) >= 0x1p52)
        check(rounded == value, "RoundTo2 keeps huge values", value);
    else
        check(std::fabs(rounded - value) <= 0.005 + 1e-15 * std::fabs(value),
              "RoundTo2 moves by at most half a hundredth", value);

    // An independent oracle: the C library's "%.2f" also rounds the exact binary
    // value, halves to even.
    if (std::fabs(value) < 0x1p52) {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.2f", value);
        check(std::strtod(buffer, nullptr) == rounded, "RoundTo2 agrees with %.2f", value, buffer);
    }

    const auto int32 = RoundToInt32(value);
    const double nearest = std::nearbyint(value);
    const bool fits32 = nearest >= -2147483648.0 && nearest <= 2147483647.0;
    check(int32.has_value() == fits32, "RoundToInt32 gives a value exactly when it fits", value);
    if (int32)
        check(static_cast<double>(*int32) == nearest, "RoundToInt32 equals nearbyint", value);

    const auto int64 = RoundToInt64(value);
    const bool fits64 = nearest >= -0x1p63 && nearest < 0x1p63;
    check(int64.has_value() == fits64, "RoundToInt64 gives a value exactly when it fits", value);
    if (int64)
        check(static_cast<double>(*int64) == nearest, "RoundToInt64 equals nearbyint", value);
}

// What every written number must satisfy; returns the reading back.
double checkWritten(const std::string& text, double value, std::string_view separator) {
    std::string lower;
    for (const char c : text)
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    check(lower.find("inf") == std::string::npos && lower.find("nan") == std::string::npos,
          "no inf or nan is written", value, text, separator);
    const auto shape = shapeOf(text, separator);
    check(shape.has_value(), "a written number has the plain form", value, text, separator);
    check(shape->significantDigits <= 15, "at most 15 significant digits", value, text, separator);
    if (value == 0)
        check(text == "0", "zero, also negative zero, is written 0", value, text, separator);
    // Whole values below 1e15 are written out in full.
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        check(shape->decimals == 0 && !shape->exponent, "whole values are written in full", value,
              text, separator);
    return ParseNumber(text, separator);
}

// The largest doubles round up in 15 digits to 1.79769313486232E+308, which lies
// beyond the double range and so reads back as an infinity.
bool readsAsInfinity(double written) { return std::fabs(written) >= 1.797693134862315e308; }

void checkTexts(double value, std::string_view separator) {
    if (!std::isfinite(value)) {
        // Only survival: the calculations never write these.
        (void)NumberText(value, separator);
        (void)ResultText(value, separator);
        return;
    }
    const double rounded = RoundTo2(value);
    const std::string number = NumberText(value, separator);
    const double numberBack = checkWritten(number, value, separator);
    // Apart from zero, which has no sign, the text is the C library's "%.15G".
    if (value != 0 && separator == ".") {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15G", value);
        check(number == buffer, "NumberText agrees with %.15G", value, number, separator);
    }
    if (!readsAsInfinity(value))
        check(closeTo15Digits(numberBack, value), "NumberText reads back", value, number,
              separator);
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        check(numberBack == value, "whole values read back exactly", value, number, separator);

    const std::string result = ResultText(value, separator);
    const double resultBack = checkWritten(result, rounded, separator);
    const auto shape = shapeOf(result, separator);
    if (std::fabs(value) < 1e15)
        check(shape->decimals <= 2, "ResultText has at most two decimals", value, result,
              separator);
    if (!readsAsInfinity(rounded))
        check(closeTo15Digits(resultBack, rounded), "ResultText reads back as RoundTo2", value,
              result, separator);
    // Hundredths below 1e13 take at most 15 digits, so they come back exactly.
    if (std::fabs(rounded) < 1e13)
        check(resultBack == rounded, "small results read back exactly", value, result, separator);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkParse(text);

    std::vector<double> values;
    for (const std::string_view separator : separators) {
        const double value = ParseNumber(text, separator);
        values.push_back(value);
        values.push_back(value / 100);
    }
    for (std::size_t offset = 0; offset + 8 <= size && values.size() < 30; offset += 8) {
        std::uint64_t bits;
        std::memcpy(&bits, data + offset, sizeof bits);
        double asDouble;
        std::memcpy(&asDouble, &bits, sizeof asDouble);
        values.push_back(asDouble);
        const auto whole = static_cast<std::int64_t>(bits);
        values.push_back(static_cast<double>(whole));
        values.push_back(static_cast<double>(whole % 1'000'000'000'000'000) / 100);
    }
    // Each value is written with one separator, in turn, to keep the runs quick.
    for (std::size_t i = 0; i < values.size(); ++i) {
        checkRounding(values[i]);
        checkTexts(values[i], separators[i % std::size(separators)]);
    }
    return 0;
}
