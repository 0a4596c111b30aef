#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

struct IAccPropServices;

namespace velmora::win32 {

// The names screen readers say for controls whose caption won't do, given
// through the system's annotation service. Held for the window's life: the
// names are cleared when this ends, before the controls go.
class AccessibleNames {
public:
    AccessibleNames() = default;
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;
    ~AccessibleNames();

    // False where the system keeps no annotations; the control then goes by
    // its own text, as before.
    bool name(HWND control, std::wstring_view name);
    void clear();

private:
    IAccPropServices* m_services = nullptr;
    void(WINAPI* m_uninitialize)() = nullptr;
    bool m_tried = false;
    std::vector<HWND> m_named;
};

}  // namespace velmora::win32
