#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/calculations.h"
#include "main_window/form1_rules.h"

// The page's address as a record of the window: its fragment names the mode
// and that mode's inputs, as typed, so that a bookmark or a link opens on the
// same calculation. Results are left to the rules. No toolkit here.
namespace velmora {

struct Form1Inputs {
    core::CalcMode mode = core::CalcMode::Time;
    // By Field: the six time fields, the data size, the speed.
    std::array<std::string, 8> texts;
    // Indexes in the data size list and in the speed list.
    int sizeUnit = 0;
    int speedUnit = 0;

    bool operator==(const Form1Inputs&) const = default;
};

// What the window's load leaves: the bare address.
const Form1Inputs& OpeningInputs();

// Whether the user types into the field, or chooses from the list, in that mode.
bool IsInput(core::CalcMode mode, Field field);

// A text longer than this, in characters, is neither written nor read.
inline constexpr std::size_t MaxAddressValueLength = 256;

// The fragment, without its '#', for the mode and its inputs; "" for the
// opening window. What still has its opening value is left out. Each text
// is written as typed but for its decimal point, which is '.' whatever
// the writer's separator, so that every reader reads the same number; the
// form is application/x-www-form-urlencoded, as URLSearchParams writes it.
//   calculate=time&size=4&size-unit=GB&speed=10&speed-unit=MB/s
std::string AddressFragment(const Form1Inputs& inputs, std::string_view decimalSeparator = ".");

// The inputs a fragment names, taken as it comes from the address (still
// encoded: '+' is a blank). Whatever it does not name, or names wrongly,
// keeps its opening value: unknown names and units, a result's value, an
// overlong or badly encoded value. A '.' decimal point is put in the
// reader's own separator.
Form1Inputs ReadAddressFragment(std::string_view fragment, std::string_view decimalSeparator = ".");

// A unit's index in its list from its name there or its short form ("GB",
// "MB/s"), in any case; -1 when it names none.
int DataSizeUnitIndex(std::string_view name);
int SpeedUnitIndex(std::string_view name);

}  // namespace velmora
