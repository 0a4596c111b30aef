#pragma once

#include <windows.h>

namespace velmora::win32 {

inline constexpr wchar_t AboutBoxClassName[] = L"VelmoraAbout";

// Opens the About box over `owner` and returns once it is closed; the owner
// takes no input meanwhile. True when OK closed it (the button, Enter or
// Esc), false for the close box.
bool ShowAboutModal(HWND owner);

}  // namespace velmora::win32
