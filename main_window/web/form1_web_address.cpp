// The window's part in the page's address: opening on the calculation an
// address holds, reached through the rules as a user would reach it, and
// keeping the address up with every change of the inputs.
#include <string>

#include "design/web/dom.h"
#include "main_window/form1_address.h"
#include "main_window/form1_design.h"
#include "main_window/web/form1_web.h"

namespace velmora {

namespace web = design::web;

namespace {

std::string optionId(int index) {
    return std::string("Option1(") + static_cast<char>('0' + index) + ')';
}

}  // namespace

void Form1Web::followAddress() {
    // The bare address keeps the load's figures untouched.
    if (!web::Fragment().empty())
        applyAddress();
    web::ListenFragment([this] { applyAddress(); });
    // Every edit, choice of unit and choice of mode, after the rules have
    // taken it: the page raises these for the user's actions only.
    for (const std::string_view type : {"input", "change"})
        web::Listen("", type, [this] {
            inputsChanged();
            return false;
        });
}

// The mode is chosen, then the units, then the texts typed, each only where
// it changes something, as a user would.
void Form1Web::applyAddress() {
    const Form1Inputs wanted = ReadAddressFragment(web::Fragment(), m_decimalSeparator);
    if (!modeChosen(wanted.mode)) {
        web::SetChecked(optionId(static_cast<int>(wanted.mode)));
        m_rules.calculatedQuantityChosen(wanted.mode);
    }
    if (IsInput(wanted.mode, Field::SizeUnit))
        setListIndex(Field::SizeUnit, wanted.sizeUnit);
    if (IsInput(wanted.mode, Field::SpeedUnit))
        setListIndex(Field::SpeedUnit, wanted.speedUnit);
    for (const Field field : {Field::DataSize, Field::Speed, timeField(0), timeField(1),
                              timeField(2), timeField(3), timeField(4), timeField(5)}) {
        if (IsInput(wanted.mode, field))
            setText(field, wanted.texts[static_cast<std::size_t>(field)]);
    }
    // What was not read is gone from the address too.
    inputsChanged();
}

Form1Inputs Form1Web::inputs() const {
    Form1Inputs current;
    for (int i = 0; i < 3; ++i) {
        if (modeChosen(static_cast<core::CalcMode>(i)))
            current.mode = static_cast<core::CalcMode>(i);
    }
    for (std::size_t i = 0; i < current.texts.size(); ++i)
        current.texts[i] = text(static_cast<Field>(i));
    current.sizeUnit = web::SelectedIndex(FieldNames[static_cast<std::size_t>(Field::SizeUnit)]);
    current.speedUnit = web::SelectedIndex(FieldNames[static_cast<std::size_t>(Field::SpeedUnit)]);
    return current;
}

void Form1Web::inputsChanged() {
    web::ReplaceFragment(AddressFragment(inputs(), m_decimalSeparator));
}

}  // namespace velmora
