#pragma once

#include <string>

namespace velmora {

// The main window as the page's HTML: every control of the design table, in
// tab order, showing what the window's load leaves in it, so the page's
// first paint is already the window the program takes over.
std::string Form1Html();

// The style sheet's rules for each control: its designed place, its cell in
// the phone arrangement, and the colours the rules give a field.
std::string Form1Css();

}  // namespace velmora
