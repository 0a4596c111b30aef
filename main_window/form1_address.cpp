#include "main_window/form1_address.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/number_text.h"
#include "core/units.h"
#include "main_window/form1_design.h"

namespace velmora {

namespace {

using core::CalcMode;

constexpr std::array<std::string_view, 3> ModeNames{"time", "speed", "data"};

// The names of the texts, by Field.
constexpr std::array<std::string_view, 8> TextNames{"years",   "weeks",   "days", "hours",
                                                    "minutes", "seconds", "size", "speed"};

// Each unit's names besides its own in the list: the short form written
// first, then the binary prefix some people use for the same 1024.
constexpr std::array<std::array<std::string_view, 2>, core::DataSizeUnits.size()> SizeUnitNames{
    {{"KB", "KiB"}, {"MB", "MiB"}, {"GB", "GiB"}, {"B", "Byte"}}};
constexpr std::array<std::array<std::string_view, 2>, core::SpeedUnits.size()> SpeedUnitNames{
    {{"KB/s", "KiB/s"}, {"MB/s", "MiB/s"}}};

constexpr std::array<Field, 8> WrittenOrder{Field::DataSize, Field::Speed, timeField(0),
                                            timeField(1),    timeField(2), timeField(3),
                                            timeField(4),    timeField(5)};

std::size_t slot(Field field) { return static_cast<std::size_t>(field); }

bool sameLetters(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

template <typename Units, typename Names>
int unitIndex(const Units& units, const Names& names, std::string_view name) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (sameLetters(name, units[i].text) || sameLetters(name, names[i][0]) ||
            sameLetters(name, names[i][1]))
            return static_cast<int>(i);
    }
    return -1;
}

std::size_t characters(std::string_view text) {
    // Every byte but a UTF-8 continuation starts a character.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Kept as they are: what reads well in an address and means nothing in it.
bool plain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("-._~/,:;!*'()@$").find(c) != std::string_view::npos;
}

// As application/x-www-form-urlencoded, which URLSearchParams writes: a
// blank is a '+', and so a '+' is escaped.
void appendEncoded(std::string& out, std::string_view text) {
    constexpr std::string_view hex = "0123456789ABCDEF";
    for (const char c : text) {
        if (c == ' ') {
            out += '+';
        } else if (plain(c)) {
            out += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        }
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool validUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

// As the browser's own URLSearchParams would: '+' is a blank, a broken
// escape is kept as it stands. No value for text that is not UTF-8.
std::optional<std::string> decoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
            continue;
        }
        const int high = text[i] == '%' && i + 2 < text.size() ? hexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(text[i + 2]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    if (!validUtf8(out))
        return std::nullopt;
    return out;
}

// The text with the decimal point its number is read with put as `to`,
// where that point is `from`; nothing else changes, and so neither does
// the number for a reader whose separator is `separator`.
std::string withDecimalPoint(std::string_view text, std::string_view separator,
                             std::string_view from, std::string_view to) {
    std::string out(text);
    if (separator == ".")
        return out;
    const auto point = core::DecimalPointOf(text, separator);
    if (point && text.substr(point->offset, point->length) == from)
        out.replace(point->offset, point->length, to);
    return out;
}

}  // namespace

const Form1Inputs& OpeningInputs() {
    static const Form1Inputs inputs = [] {
        Form1Inputs opening;
        for (const ControlDesign& control : Form1Design) {
            for (const Field field : {Field::DataSize, Field::Speed}) {
                if (control.name == FieldNames[slot(field)])
                    opening.texts[slot(field)] = control.caption;
            }
        }
        // The load calculates the time from the designed size and speed.
        const auto times = core::CalculateTime(
            opening.texts[slot(Field::DataSize)], core::DataSizeUnits[0].multiplier,
            opening.texts[slot(Field::Speed)], core::SpeedUnits[0].multiplier);
        for (int i = 0; i < 6; ++i)
            opening.texts[slot(timeField(i))] = (*times)[static_cast<std::size_t>(i)];
        return opening;
    }();
    return inputs;
}

bool IsInput(CalcMode mode, Field field) {
    switch (field) {
    case Field::DataSize:
    case Field::SizeUnit:
        return mode != CalcMode::Data;
    case Field::Speed:
    case Field::SpeedUnit:
        return mode != CalcMode::Speed;
    default:
        return mode != CalcMode::Time;
    }
}

std::string AddressFragment(const Form1Inputs& inputs, std::string_view decimalSeparator) {
    const Form1Inputs& opening = OpeningInputs();
    std::string out;
    const auto add = [&out](std::string_view name, std::string_view value) {
        out += '&';
        out += name;
        out += '=';
        appendEncoded(out, value);
    };
    for (const Field field : WrittenOrder) {
        const std::string& text = inputs.texts[slot(field)];
        if (IsInput(inputs.mode, field) && text != opening.texts[slot(field)] &&
            characters(text) <= MaxAddressValueLength)
            add(TextNames[slot(field)],
                withDecimalPoint(text, decimalSeparator, decimalSeparator, "."));
        if (field == Field::DataSize && IsInput(inputs.mode, Field::SizeUnit) &&
            inputs.sizeUnit != opening.sizeUnit && inputs.sizeUnit >= 0 &&
            inputs.sizeUnit < static_cast<int>(SizeUnitNames.size()))
            add("size-unit", SizeUnitNames[static_cast<std::size_t>(inputs.sizeUnit)][0]);
        if (field == Field::Speed && IsInput(inputs.mode, Field::SpeedUnit) &&
            inputs.speedUnit != opening.speedUnit && inputs.speedUnit >= 0 &&
            inputs.speedUnit < static_cast<int>(SpeedUnitNames.size()))
            add("speed-unit", SpeedUnitNames[static_cast<std::size_t>(inputs.speedUnit)][0]);
    }
    // The mode goes first whenever anything is written: it says what the rest is.
    if (out.empty() && inputs.mode == opening.mode)
        return {};
    return "calculate=" + std::string(ModeNames[static_cast<std::size_t>(inputs.mode)]) + out;
}

Form1Inputs ReadAddressFragment(std::string_view fragment, std::string_view decimalSeparator) {
    Form1Inputs inputs = OpeningInputs();
    // The mode first, as it decides which fields are inputs; a name given
    // twice counts as last given.
    for (const bool modePass : {true, false}) {
        for (std::string_view rest = fragment; !rest.empty();) {
            const std::string_view part = rest.substr(0, rest.find('&'));
            rest.remove_prefix(std::min(part.size() + 1, rest.size()));
            // A bare name ("#size") is an anchor more likely than an empty field.
            const std::size_t equals = part.find('=');
            if (equals == std::string_view::npos)
                continue;
            const auto name = decoded(part.substr(0, equals));
            const auto value = decoded(part.substr(equals + 1));
            if (!name || !value || characters(*value) > MaxAddressValueLength)
                continue;
            if (modePass) {
                for (std::size_t m = 0; m < ModeNames.size(); ++m) {
                    if (sameLetters(*name, "calculate") && sameLetters(*value, ModeNames[m]))
                        inputs.mode = static_cast<CalcMode>(m);
                }
                continue;
            }
            if (sameLetters(*name, "size-unit") && IsInput(inputs.mode, Field::SizeUnit)) {
                if (const int index = DataSizeUnitIndex(*value); index >= 0)
                    inputs.sizeUnit = index;
            } else if (sameLetters(*name, "speed-unit") && IsInput(inputs.mode, Field::SpeedUnit)) {
                if (const int index = SpeedUnitIndex(*value); index >= 0)
                    inputs.speedUnit = index;
            }
            for (std::size_t f = 0; f < TextNames.size(); ++f) {
                if (sameLetters(*name, TextNames[f]) && IsInput(inputs.mode, static_cast<Field>(f)))
                    inputs.texts[f] =
                        withDecimalPoint(*value, decimalSeparator, ".", decimalSeparator);
            }
        }
    }
    return inputs;
}

int DataSizeUnitIndex(std::string_view name) {
    return unitIndex(core::DataSizeUnits, SizeUnitNames, name);
}

int SpeedUnitIndex(std::string_view name) {
    return unitIndex(core::SpeedUnits, SpeedUnitNames, name);
}

}  // namespace velmora
