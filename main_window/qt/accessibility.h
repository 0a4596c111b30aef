#pragma once

#include <QAccessibleWidget>

namespace velmora {

// Screen readers see the windows through these where Qt's own interfaces
// fall short: the main window as a frame, the About box as a modal dialog,
// the unit lists by their chosen units and as read-only while locked, the
// text boxes refusing writes while locked, and the logo with a press action
// that opens the About box.
void installAccessibleInterfaces();

}  // namespace velmora
