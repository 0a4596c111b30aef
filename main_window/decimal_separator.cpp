#include "main_window/decimal_separator.h"

namespace velmora {

std::string WrittenDecimalSeparator(std::string_view symbol, std::string_view zeroDigit) {
    // Where the digits are not Latin, the symbol goes with them; beside
    // Latin digits those languages write a full stop.
    if (zeroDigit == "0" && symbol == ",")
        return ",";
    return ".";
}

}  // namespace velmora
