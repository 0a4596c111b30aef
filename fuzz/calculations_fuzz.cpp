// Fuzz target for the three calculations.
//
// Input: pieces separated by '|'. The first piece is a header whose first three
// bytes choose, each taken modulo the number of choices, the data size unit
// (0 KiloBytes, 1 MegaBytes, 2 GigaBytes, 3 Bytes), the speed unit
// (0 KiloBytes/second, 1 MegaBytes/second) and the decimal separator
// (0 ".", 1 ",", 2 "\xd9\xab"); missing bytes count as 0. The next eight pieces
// are the texts of data size, speed, years, weeks, days, hours, minutes and
// seconds; missing ones are empty and the last takes the rest of the input.
// Example: "001|32|32|||||1" is 32 KiloBytes, 32 KiloBytes/second, 1 second, ",".
// A broken property prints what broke and aborts, so libFuzzer keeps the input.

#include "core/calculations.h"
#include "core/number_text.h"
#include "core/units.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace velmora::core;

constexpr std::string_view separators[] = {".", ",", "\xd9\xab"};

struct Input {
    std::int32_t dataMultiplier;
    std::int32_t speedMultiplier;
    std::string_view separator;
    std::string_view dataText;
    std::string_view speedText;
    TimeTexts timeTexts;
};

const Input* current = nullptr;

[[noreturn]] void fail(const char* what, double value = 0) {
    std::fprintf(stderr, "Broken property: %s\n  value %.17g (%a)\n", what, value, value);
    if (current) {
        std::fprintf(stderr,
                     "  multipliers %d, %d; separator \"%.*s\"\n  texts:", current->dataMultiplier,
                     current->speedMultiplier, static_cast<int>(current->separator.size()),
                     current->separator.data());
        std::fprintf(stderr, " \"%.*s\" \"%.*s\"", static_cast<int>(current->dataText.size()),
                     current->dataText.data(), static_cast<int>(current->speedText.size()),
                     current->speedText.data());
        for (const std::string_view text : current->timeTexts)
            std::fprintf(stderr, " \"%.*s\"", static_cast<int>(text.size()), text.data());
        std::fprintf(stderr, "\n");
    }
    std::abort();
}

void check(bool ok, const char* what, double value = 0) {
    if (!ok)
        fail(what, value);
}

Input split(std::string_view input) {
    std::array<std::string_view, 9> pieces{};
    for (std::size_t i = 0; i < pieces.size() && !input.empty(); ++i) {
        const std::size_t bar = i + 1 < pieces.size() ? input.find('|') : input.npos;
        pieces[i] = input.substr(0, bar);
        input = bar == input.npos ? std::string_view{} : input.substr(bar + 1);
    }
    const auto choice = [&](std::size_t i, std::size_t count) {
        return i < pieces[0].size() ? static_cast<unsigned char>(pieces[0][i]) % count : 0;
    };
    return Input{DataSizeUnits[choice(0, DataSizeUnits.size())].multiplier,
                 SpeedUnits[choice(1, SpeedUnits.size())].multiplier,
                 separators[choice(2, std::size(separators))],
                 pieces[1],
                 pieces[2],
                 {pieces[3], pieces[4], pieces[5], pieces[6], pieces[7], pieces[8]}};
}

void checkText(const std::string& text) {
    check(!text.empty(), "a written text is never empty");
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        std::string word;
        for (std::size_t j = i; j < i + 3; ++j)
            word +=
                static_cast<char>(text[j] >= 'A' && text[j] <= 'Z' ? text[j] - 'A' + 'a' : text[j]);
        check(word != "inf" && word != "nan", "no inf or nan is ever written");
    }
}

// A figure of at most two decimals reads back as the rounded value, exactly
// while it has at most 15 digits, else to the precision of 15 digits.
void checkResultText(const std::string& text, double figure, std::string_view separator) {
    checkText(text);
    const double rounded = RoundTo2(figure);
    const double back = ParseNumber(text, separator);
    if (std::fabs(rounded) < 1e13)
        check(back == rounded, "a result reads back exactly", figure);
    else
        check(std::fabs(back - rounded) <= 1e-14 * std::fabs(rounded),
              "a result reads back to 15 digits", figure);
}

double readTotal(const Input& in) {
    double total = 0;
    for (std::size_t i = 0; i < in.timeTexts.size(); ++i)
        total += ParseNumber(in.timeTexts[i], in.separator) * TimeComponents[i].seconds;
    return total;
}

bool nearestSecondFits(double t) {
    const double nearest = std::nearbyint(t);
    return nearest >= -0x1p63 && nearest < 0x1p63;
}

void checkBreakdown(double t) {
    const auto breakdown = BreakDownSeconds(t);
    check(breakdown.has_value() == (std::isfinite(t) && nearestSecondFits(t)),
          "a breakdown exists exactly when the nearest second fits in 64 bits", t);
    if (!breakdown)
        return;
    double sum = breakdown->seconds;
    for (std::size_t i = 0; i < breakdown->counts.size(); ++i) {
        const double count = breakdown->counts[i];
        const double length = TimeComponents[i].seconds;
        check(count == std::trunc(count), "counts are whole", t);
        check(count * t >= 0, "counts share the sign of the total", t);
        if (i > 0)
            check(std::fabs(count) * length <= TimeComponents[i - 1].seconds,
                  "a count stays below the next larger component", t);
        sum += count * length;
    }
    // Rounding before each division keeps the seconds within half a second of
    // the minute: 59.5 s is 1 minute and -0.5 s, never 59.7 s.
    check(std::fabs(breakdown->seconds) <= 59.5 + 1e-9, "the seconds stay below 59.5", t);
    const double secondsAlongTotal = t < 0 ? -breakdown->seconds : breakdown->seconds;
    check(secondsAlongTotal >= -0.5 - 1e-9,
          "the seconds go against the total by half a second at most", t);
    check(std::fabs(sum - t) <= 1e-9 * std::fabs(t) + 1e-6,
          "counts times lengths plus seconds give the total", t);
}

void checkTime(const Input& in) {
    const double data = ParseNumber(in.dataText, in.separator) * in.dataMultiplier;
    const double speed = ParseNumber(in.speedText, in.separator) * in.speedMultiplier;
    const double t = data / speed;
    const auto texts = CalculateTime(in.dataText, in.dataMultiplier, in.speedText,
                                     in.speedMultiplier, in.separator);
    const bool writes = speed != 0 && std::isfinite(data) && std::isfinite(speed) &&
                        std::isfinite(t) && nearestSecondFits(t);
    check(texts.has_value() == writes,
          "time is written exactly for a non-zero speed and a finite time that fits", t);
    if (!texts)
        return;
    const auto breakdown = BreakDownSeconds(t);
    for (std::size_t i = 0; i < breakdown->counts.size(); ++i) {
        checkText((*texts)[i]);
        check(ParseNumber((*texts)[i], in.separator) == breakdown->counts[i],
              "a count reads back exactly", t);
    }
    checkResultText((*texts)[5], breakdown->seconds, in.separator);
}

void checkSpeed(const Input& in) {
    const double data = ParseNumber(in.dataText, in.separator) * in.dataMultiplier;
    const double total = readTotal(in);
    const double speed = data / total;
    const auto result = CalculateSpeed(in.dataText, in.dataMultiplier, in.timeTexts, in.separator);
    if (!std::isfinite(data) || !std::isfinite(total)) {
        check(!result, "a speed from a non-finite figure writes nothing", total);
        return;
    }
    if (total == 0) {
        check(result && !result->unitIndex && result->text == "0",
              "a zero time gives the text 0 and no unit");
        return;
    }
    check(result.has_value() == std::isfinite(speed),
          "a speed is written exactly when it is finite", speed);
    if (!result)
        return;
    check(result->unitIndex.has_value(), "a calculated speed sets its unit", speed);
    const int index = speed >= SpeedUnits[1].multiplier ? 1 : 0;
    check(*result->unitIndex == index, "the speed unit matches its threshold", speed);
    checkResultText(result->text, speed / SpeedUnits[index].multiplier, in.separator);
}

void checkData(const Input& in) {
    const double speed = ParseNumber(in.speedText, in.separator) * in.speedMultiplier;
    const double total = readTotal(in);
    const double bytes = total * speed;
    const auto result = CalculateData(in.speedText, in.speedMultiplier, in.timeTexts, in.separator);
    check(result.has_value() ==
              (std::isfinite(speed) && std::isfinite(total) && std::isfinite(bytes)),
          "a data size is written exactly when every figure is finite", bytes);
    if (!result)
        return;
    check(result->unitIndex.has_value(), "a calculated data size sets its unit", bytes);
    // "Bytes" is last in the list: below 1024 bytes, also zero and negative.
    int index = 3;
    for (const int candidate : {2, 1, 0}) {
        if (bytes >= DataSizeUnits[candidate].multiplier) {
            index = candidate;
            break;
        }
    }
    check(*result->unitIndex == index, "the data size unit matches its threshold", bytes);
    checkResultText(result->text, bytes / DataSizeUnits[index].multiplier, in.separator);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input = split({reinterpret_cast<const char*>(data), size});
    current = &input;
    checkTime(input);
    checkSpeed(input);
    checkData(input);

    // The breakdown also on totals the calculations refuse or never reach.
    const double dataBytes = ParseNumber(input.dataText, input.separator) * input.dataMultiplier;
    const double speedBytes = ParseNumber(input.speedText, input.separator) * input.speedMultiplier;
    checkBreakdown(dataBytes / speedBytes);
    checkBreakdown(readTotal(input));
    current = nullptr;
    return 0;
}
