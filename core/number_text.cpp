#include "core/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <utility>

#include <fast_float/fast_float.h>

namespace velmora::core {

namespace {

// U+066B, as UTF-8.
constexpr std::string_view ArabicDecimalSeparator = "\xD9\xAB";
// U+00A0, U+2009, U+202F and the Arabic thousands separator U+066C.
constexpr std::array<std::string_view, 4> WideBlanks{"\xC2\xA0", "\xE2\x80\x89", "\xE2\x80\xAF",
                                                     "\xD9\xAC"};

// Reads the text left to right, skipping the blanks that may stand anywhere.
class Reader {
public:
    Reader(std::string_view text, std::string_view decimalSeparator)
        : m_text(text), m_separator(decimalSeparator) {}

    // The character at the reading position; a digit of the Arabic-Indic,
    // Extended Arabic-Indic or full-width sets, which Persian, Arabic and East
    // Asian keyboards type, shows as the Latin digit it stands for.
    char peek() {
        skipBlanks();
        m_width = 1;
        if (m_pos >= m_text.size())
            return '\0';
        if (static_cast<unsigned char>(m_text[m_pos]) < 0x80)
            return m_text[m_pos];
        if (const auto [digit, width] = nativeDigit(); digit >= 0) {
            m_width = width;
            return static_cast<char>('0' + digit);
        }
        return m_text[m_pos];
    }
    // Past the character peek() gave.
    void advance() { m_pos += m_width; }
    // Where takeDecimalPoint() took one.
    std::optional<TextSpan> point() const { return m_point; }

    // A decimal point: '.', the Arabic decimal separator that Persian and
    // Arabic keyboards type, or the user's own separator.
    bool takeDecimalPoint() {
        skipBlanks();
        const std::string_view rest = m_text.substr(m_pos);
        std::size_t length = 0;
        if (rest.starts_with('.'))
            length = 1;
        else if (!m_separator.empty() && rest.starts_with(m_separator))
            length = m_separator.size();
        else if (rest.starts_with(ArabicDecimalSeparator))
            length = ArabicDecimalSeparator.size();
        if (length == 0)
            return false;
        m_point = TextSpan{m_pos, length};
        m_pos += length;
        return true;
    }

private:
    // U+0660 to U+0669, U+06F0 to U+06F9 and U+FF10 to U+FF19, as UTF-8:
    // the digit and its width in bytes, or -1.
    std::pair<int, std::size_t> nativeDigit() const {
        const auto byte = [this](std::size_t offset) {
            return m_pos + offset < m_text.size()
                       ? static_cast<unsigned char>(m_text[m_pos + offset])
                       : 0u;
        };
        const unsigned lead = byte(0), next = byte(1);
        if (lead == 0xD9 && next >= 0xA0 && next <= 0xA9)
            return {static_cast<int>(next - 0xA0), 2};
        if (lead == 0xDB && next >= 0xB0 && next <= 0xB9)
            return {static_cast<int>(next - 0xB0), 2};
        if (lead == 0xEF && next == 0xBC && byte(2) >= 0x90 && byte(2) <= 0x99)
            return {static_cast<int>(byte(2) - 0x90), 3};
        return {-1, 1};
    }

    // Blanks, tabs and line feeds; the no-break, thin and narrow no-break
    // spaces that copies from web pages and spreadsheets hold, and the Arabic
    // thousands separator, as they group digits rather than end a number.
    void skipBlanks() {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\n') {
                ++m_pos;
                continue;
            }
            if (static_cast<unsigned char>(c) < 0x80)
                return;
            const std::string_view rest = m_text.substr(m_pos);
            const auto blank =
                std::find_if(WideBlanks.begin(), WideBlanks.end(),
                             [rest](std::string_view b) { return rest.starts_with(b); });
            if (blank == WideBlanks.end())
                return;
            m_pos += blank->size();
        }
    }

    std::string_view m_text;
    std::string_view m_separator;
    std::size_t m_pos = 0;
    std::size_t m_width = 1;
    std::optional<TextSpan> m_point;
};

// Correctly rounded on every platform; the browser's C++ library has no
// from_chars for double.
double readDouble(const char* first, const char* last) {
    double value = 0;
    fast_float::from_chars(first, last, value);
    return value;
}

// printf is correctly rounded where the C++ library lacks to_chars for double
// (the browser's); both round the exact binary value, halves to even.
#if defined(__cpp_lib_to_chars) || !defined(_LIBCPP_VERSION)
char* writeDouble(char* first, char* last, double value, std::chars_format format, int precision) {
    return std::to_chars(first, last, value, format, precision).ptr;
}
#else
char* writeDouble(char* first, char* last, double value, std::chars_format format, int precision) {
    const char* pattern = format == std::chars_format::fixed ? "%.*f" : "%.*g";
    const int written =
        std::snprintf(first, static_cast<std::size_t>(last - first), pattern, precision, value);
    return first + std::clamp(written, 0, static_cast<int>(last - first) - 1);
}
#endif

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c, int base) {
    int value = -1;
    if (isDigit(c))
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// "&H1F" and "&O17": integers of base 16 and 8. They are read as positive
// values however many digits they have, since a user who types "&HFFFF" means
// 65535, not the -1 a 16-bit register would make of it.
double readRadixInteger(Reader& reader, int base) {
    double value = 0;
    for (int digit = digitValue(reader.peek(), base); digit >= 0;
         digit = digitValue(reader.peek(), base)) {
        value = value * base + digit;
        reader.advance();
    }
    return value;
}

double readDecimal(Reader& reader) {
    // The digits go into a plain buffer for a parser that rounds correctly
    // and ignores the locale. Leading zeros are dropped so that only
    // significant digits count towards the buffer.
    std::string mantissa;
    std::int64_t pointShift = 0;  // digits after the point, as a power of ten
    bool negative = false;
    bool anyDigit = false;

    if (const char sign = reader.peek(); sign == '+' || sign == '-') {
        negative = sign == '-';
        reader.advance();
    }
    for (; isDigit(reader.peek()); reader.advance()) {
        anyDigit = true;
        if (!mantissa.empty() || reader.peek() != '0')
            mantissa += reader.peek();
    }
    if (reader.takeDecimalPoint()) {
        for (; isDigit(reader.peek()); reader.advance()) {
            anyDigit = true;
            if (!mantissa.empty() || reader.peek() != '0') {
                mantissa += reader.peek();
            }
            --pointShift;
        }
    }
    if (!anyDigit)
        return 0;

    // The exponent saturates: anything this far out is zero or infinite anyway.
    constexpr std::int64_t exponentLimit = 1'000'000'000;
    std::int64_t exponent = 0;
    if (const char marker = reader.peek(); marker == 'E' || marker == 'e') {
        reader.advance();
        bool negativeExponent = false;
        if (const char sign = reader.peek(); sign == '+' || sign == '-') {
            negativeExponent = sign == '-';
            reader.advance();
        }
        for (; isDigit(reader.peek()); reader.advance())
            exponent = std::min(exponent * 10 + (reader.peek() - '0'), exponentLimit);
        if (negativeExponent)
            exponent = -exponent;
    }

    double magnitude = 0;
    if (!mantissa.empty()) {
        // Scientific form of the significant digits: d.ddd e(exp10).
        const std::int64_t exp10 =
            exponent + pointShift + static_cast<std::int64_t>(mantissa.size()) - 1;
        if (exp10 > 400) {
            magnitude = std::numeric_limits<double>::infinity();
        } else if (exp10 >= -400) {
            std::string buffer;
            buffer.reserve(mantissa.size() + 8);
            buffer += mantissa.front();
            buffer += '.';
            buffer.append(mantissa, 1);
            buffer += 'e';
            buffer += std::to_string(exp10);
            // Beyond the range it gives an infinity, below it zero.
            magnitude = readDouble(buffer.data(), buffer.data() + buffer.size());
        }
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace

double ParseNumber(std::string_view text, std::string_view decimalSeparator) {
    if (text.empty())
        return 0;
    Reader reader(text, decimalSeparator);
    if (reader.peek() == '&') {
        reader.advance();
        const char radix = reader.peek();
        if (radix == 'H' || radix == 'h') {
            reader.advance();
            return readRadixInteger(reader, 16);
        }
        if (radix == 'O' || radix == 'o') {
            reader.advance();
            return readRadixInteger(reader, 8);
        }
        return 0;
    }
    return readDecimal(reader);
}

std::optional<TextSpan> DecimalPointOf(std::string_view text, std::string_view decimalSeparator) {
    Reader reader(text, decimalSeparator);
    if (reader.peek() == '&')
        return std::nullopt;
    readDecimal(reader);
    return reader.point();
}

double RoundTo2(double value) {
    // From 2^52 up every double is whole; infinities and NaN pass unchanged.
    if (!std::isfinite(value) || std::fabs(value) >= 0x1p52)
        return value;
    // Fixed notation with two decimals rounds on the exact binary value, halves
    // to even; reading it back gives the double nearest to that decimal.
    char buffer[32];
    const char* end =
        writeDouble(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return readDouble(buffer, end);
}

std::string NumberText(double value, std::string_view decimalSeparator) {
    // A seconds remainder of -0.004 rounds to -0; "-0" would only puzzle.
    if (value == 0)
        return "0";
    char buffer[40];
    const char* end =
        writeDouble(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text;
    text.reserve(static_cast<std::size_t>(end - buffer) + 4);
    for (const char* p = buffer; p != end; ++p) {
        if (*p == '.')
            text += decimalSeparator;
        else if (*p == 'e')
            text += 'E';
        else
            text += *p;
    }
    return text;
}

std::string ResultText(double value, std::string_view decimalSeparator) {
    return NumberText(RoundTo2(value), decimalSeparator);
}

std::optional<std::int32_t> RoundToInt32(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::optional<std::int64_t> RoundToInt64(double value) {
    const double rounded = std::nearbyint(value);
    // 2^63 itself is the first double out of range.
    if (!(rounded >= -0x1p63 && rounded < 0x1p63))
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

}  // namespace velmora::core
