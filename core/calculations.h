#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::core {

// Which quantity is calculated; the index of the selected mode button.
enum class CalcMode { Time = 0, Speed = 1, Data = 2 };

// The texts of the six time fields, years first.
using TimeTexts = std::array<std::string_view, 6>;

// A unit picked for a result: its index in the list and its multiplier.
struct UnitChoice {
    int index;
    double divisor;
};

// A time split over the six fields: years to minutes as whole counts
// (held in doubles), and what is left as seconds.
struct TimeBreakdown {
    std::array<double, 5> counts;
    double seconds;
};

// What the window writes for a speed or data size: the unit first, when
// there is one to set, then the text.
struct UnitResult {
    std::optional<int> unitIndex;
    std::string text;
};

// The figure of a field times its unit's multiplier.
double ReadQuantity(std::string_view text, std::int32_t multiplier,
                    std::string_view decimalSeparator = ".");

// The six time fields summed into seconds; empty fields count as 0.
double ReadTotalSeconds(const TimeTexts& texts, std::string_view decimalSeparator = ".");

// Splits a total of seconds. Each count is the total rounded to the nearest
// whole second (halves to even) divided by the component's length, so 59.5 s
// gives 1 minute and -0.5 s. No value when the total is not finite or its
// nearest whole second does not fit in 64 bits.
std::optional<TimeBreakdown> BreakDownSeconds(double totalSeconds);

// MegaBytes/second from 1048576 bytes per second up, else KiloBytes/second.
UnitChoice SelectSpeedUnit(double bytesPerSecond);

// GigaBytes, MegaBytes or KiloBytes at or above their size; Bytes below 1024,
// for zero and for negative sizes.
UnitChoice SelectDataSizeUnit(double bytes);

// The six texts of the time fields for a data size and a speed. No value
// (nothing to write) when the speed is zero or any figure is not finite.
std::optional<std::array<std::string, 6>> CalculateTime(std::string_view dataText,
                                                        std::int32_t dataMultiplier,
                                                        std::string_view speedText,
                                                        std::int32_t speedMultiplier,
                                                        std::string_view decimalSeparator = ".");

// The speed for a data size and a time. A zero time gives the text "0" and
// no unit. No value when any figure is not finite.
std::optional<UnitResult> CalculateSpeed(std::string_view dataText, std::int32_t dataMultiplier,
                                         const TimeTexts& timeTexts,
                                         std::string_view decimalSeparator = ".");

// The data size for a speed and a time; always a unit, Bytes for zero.
// No value when any figure is not finite.
std::optional<UnitResult> CalculateData(std::string_view speedText, std::int32_t speedMultiplier,
                                        const TimeTexts& timeTexts,
                                        std::string_view decimalSeparator = ".");

}  // namespace velmora::core
