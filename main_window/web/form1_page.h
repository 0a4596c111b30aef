#pragma once

#include <string>

namespace velmora {

// The main window as the page's HTML: every control of the design table at
// its place, in tab order, showing what the window's load leaves in it, so
// the page's first paint is already the window the program takes over.
std::string Form1Html();

}  // namespace velmora
