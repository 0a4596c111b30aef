#pragma once

#include <string>

namespace velmora::about {

// The About box as a <dialog> of the page, closed until the logo or F1 opens
// it: every control of the design at its place, in tab order, with the
// captions its load writes.
std::string AboutHtml();

}  // namespace velmora::about
