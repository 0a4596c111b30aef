#pragma once

#include <string>

namespace velmora::about {

// The About box as a <dialog> of the page, closed until the logo or F1 opens
// it: every control of the design, in tab order, with the captions its load
// writes.
std::string AboutHtml();

// The style sheet's rules for each control: its designed place and its row
// in the phone arrangement.
std::string AboutCss();

}  // namespace velmora::about
