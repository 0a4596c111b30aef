#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The separator Velmora writes beside its Latin digits, from what the system
// or the browser says of the user's numbers: its decimal symbol and the zero
// of its digits ("0", or "۰" where the user's digits are Persian). ","
// only where the user writes Latin digits with a comma; "." otherwise,
// also for a symbol that belongs to other digits ("٫") or that a user set
// to something else ("/", "·", ""), which would read as the end of a number.
std::string WrittenDecimalSeparator(std::string_view symbol, std::string_view zeroDigit);

}  // namespace velmora
