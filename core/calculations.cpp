#include "core/calculations.h"

#include <cmath>

#include "core/number_text.h"
#include "core/units.h"

namespace velmora::core {

namespace {

bool allFinite(std::initializer_list<double> values) {
    for (const double value : values)
        if (!std::isfinite(value))
            return false;
    return true;
}

UnitChoice choose(int index, std::int32_t multiplier) {
    return {index, static_cast<double>(multiplier)};
}

}  // namespace

double ReadQuantity(std::string_view text, std::int32_t multiplier,
                    std::string_view decimalSeparator) {
    return ParseNumber(text, decimalSeparator) * multiplier;
}

double ReadTotalSeconds(const TimeTexts& texts, std::string_view decimalSeparator) {
    double total = 0;
    for (std::size_t i = 0; i < texts.size(); ++i)
        total += ParseNumber(texts[i], decimalSeparator) * TimeComponents[i].seconds;
    return total;
}

std::optional<TimeBreakdown> BreakDownSeconds(double totalSeconds) {
    TimeBreakdown result{};
    double rest = totalSeconds;
    for (std::size_t i = 0; i < result.counts.size(); ++i) {
        // Round before dividing: 59.5 s shows as 1 minute and -0.5 s.
        const auto wholeSeconds = RoundToInt64(rest);
        if (!wholeSeconds)
            return std::nullopt;
        const std::int64_t length = TimeComponents[i].seconds;
        const auto count = static_cast<double>(*wholeSeconds / length);
        rest -= count * static_cast<double>(length);
        result.counts[i] = count;
    }
    result.seconds = rest;
    return result;
}

UnitChoice SelectSpeedUnit(double bytesPerSecond) {
    // No unit below KiloBytes/second: under 5.12 B/s shows as 0.
    if (bytesPerSecond >= SpeedUnits[1].multiplier)
        return choose(1, SpeedUnits[1].multiplier);
    return choose(0, SpeedUnits[0].multiplier);
}

UnitChoice SelectDataSizeUnit(double bytes) {
    // The list runs KiloBytes, MegaBytes, GigaBytes, Bytes; test largest first.
    for (const int index : {2, 1, 0})
        if (bytes >= DataSizeUnits[index].multiplier)
            return choose(index, DataSizeUnits[index].multiplier);
    return choose(3, DataSizeUnits[3].multiplier);
}

std::optional<std::array<std::string, 6>> CalculateTime(std::string_view dataText,
                                                        std::int32_t dataMultiplier,
                                                        std::string_view speedText,
                                                        std::int32_t speedMultiplier,
                                                        std::string_view decimalSeparator) {
    const double data = ReadQuantity(dataText, dataMultiplier, decimalSeparator);
    const double speed = ReadQuantity(speedText, speedMultiplier, decimalSeparator);
    if (speed == 0)
        return std::nullopt;
    const double seconds = data / speed;
    if (!allFinite({data, speed, seconds}))
        return std::nullopt;
    const auto breakdown = BreakDownSeconds(seconds);
    if (!breakdown)
        return std::nullopt;

    std::array<std::string, 6> texts;
    for (std::size_t i = 0; i < breakdown->counts.size(); ++i)
        texts[i] = NumberText(breakdown->counts[i], decimalSeparator);
    texts[5] = ResultText(breakdown->seconds, decimalSeparator);
    return texts;
}

std::optional<UnitResult> CalculateSpeed(std::string_view dataText, std::int32_t dataMultiplier,
                                         const TimeTexts& timeTexts,
                                         std::string_view decimalSeparator) {
    const double data = ReadQuantity(dataText, dataMultiplier, decimalSeparator);
    const double total = ReadTotalSeconds(timeTexts, decimalSeparator);
    if (!allFinite({data, total}))
        return std::nullopt;
    if (total == 0)
        return UnitResult{std::nullopt, "0"};
    const double speed = data / total;
    if (!std::isfinite(speed))
        return std::nullopt;
    const UnitChoice unit = SelectSpeedUnit(speed);
    return UnitResult{unit.index, ResultText(speed / unit.divisor, decimalSeparator)};
}

std::optional<UnitResult> CalculateData(std::string_view speedText, std::int32_t speedMultiplier,
                                        const TimeTexts& timeTexts,
                                        std::string_view decimalSeparator) {
    const double speed = ReadQuantity(speedText, speedMultiplier, decimalSeparator);
    const double total = ReadTotalSeconds(timeTexts, decimalSeparator);
    const double bytes = total * speed;
    if (!allFinite({speed, total, bytes}))
        return std::nullopt;
    const UnitChoice unit = SelectDataSizeUnit(bytes);
    return UnitResult{unit.index, ResultText(bytes / unit.divisor, decimalSeparator)};
}

}  // namespace velmora::core
