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

// A drop-down list as a screen reader should hear it: what it is for as its
// name, the chosen item as its value, and read-only while it is locked.
// Answers WM_GETOBJECT for the list's client object with the system's own
// object so amended; zero where the system has none to amend, and the list
// then answers as it would.
LRESULT AnswerListObject(HWND list, WPARAM flags, std::wstring_view purpose);
// Marks a list locked or open for the object above, and tells screen readers.
// The mark goes with the list: ClearListLock before it is destroyed.
void MarkListLocked(HWND list, bool locked);
inline void ClearListLock(HWND list) { MarkListLocked(list, false); }

}  // namespace velmora::win32
