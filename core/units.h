#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velmora::core {

// A unit of a list: what the user reads, and how many bytes (or bytes per
// second) one of it holds. Prefixes are powers of 1024.
struct Unit {
    std::string_view text;
    std::int32_t multiplier;
};

// "Bytes" is last in the list, so index 3 is the smallest unit, not the first.
inline constexpr std::array<Unit, 4> DataSizeUnits{{
    {"KiloBytes", 1024},
    {"MegaBytes", 1048576},
    {"GigaBytes", 1073741824},
    {"Bytes", 1},
}};

inline constexpr std::array<Unit, 2> SpeedUnits{{
    {"KiloBytes/second", 1024},
    {"MegaBytes/second", 1048576},
}};

// The six time fields, largest first: how many seconds one of each holds.
// A year is 365 days: no months, no leap years.
struct TimeComponent {
    std::int32_t seconds;
};

inline constexpr std::array<TimeComponent, 6> TimeComponents{{
    {31536000},  // years
    {604800},    // weeks
    {86400},     // days
    {3600},      // hours
    {60},        // minutes
    {1},         // seconds
}};

}  // namespace velmora::core
