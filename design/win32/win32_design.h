#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "design/colours.h"
#include "design/fonts.h"
#include "design/twips.h"

namespace velmora::win32 {

// The shared design values in Win32's terms, at the display's own resolution.

// The window's dots per inch where the system tracks it per window (Windows
// 10 and later), else the system's.
UINT WindowDpi(HWND window);
UINT SystemDpi();

inline RECT ToRect(design::TwipsRect place, UINT dpi) {
    const design::PixelRect p = design::ToPixels(place, static_cast<int>(dpi));
    return {p.left, p.top, p.left + p.width, p.top + p.height};
}

// Pixels at `dpi` for a length designed in pixels at 96 dpi; never below one.
int ScalePixels(int pixels, UINT dpi);

// The window rectangle around a client rectangle, with the frame's metrics at `dpi`.
RECT WindowRectFor(RECT client, DWORD style, DWORD exStyle, UINT dpi);

// GetSystemMetrics at `dpi`.
int SystemMetric(int index, UINT dpi);

// The first of the design's faces the system has, else one of the family the
// font mapper is told about (FF_SWISS for sans serif, FF_ROMAN for serif).
HFONT CreateDesignFont(const design::FontDesign& font, UINT dpi, BYTE family);

// A text's size in a font, and the font's metrics, on the display.
SIZE TextExtent(HFONT font, std::wstring_view text);
TEXTMETRICW TextMetrics(HFONT font);

// The average character width to which `font` is condensed for `caption` to
// fit `width`; 0 where it fits as it is.
LONG CondensedWidthToFit(HFONT font, std::wstring_view caption, int width);
// `font` with narrower characters, the height kept; for the caller to delete.
HFONT CreateCondensedFont(HFONT font, LONG averageWidth);

constexpr COLORREF ToColorRef(design::Rgb c) { return RGB(c.red, c.green, c.blue); }
constexpr design::Rgb ToRgb(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

// A picture scaled into a rectangle with averaging, so a shrunken logo keeps its lettering.
void DrawStretched(HDC target, HBITMAP picture, RECT into);

// An icon resource drawn larger than `size`, shrunk to it by averaging,
// edges and all, rather than by dropping pixels; for the caller to destroy.
HICON LoadShrunkIcon(HINSTANCE instance, const wchar_t* name, int size);

// Text between Win32's UTF-16 and the core's UTF-8.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A window's whole text.
std::wstring WindowText(HWND window);

// Registers a dialog-like window class once per program: the face colour,
// the arrow, double clicks. False when it can be had neither way.
bool RegisterDialogClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure);

// Gives a window its title-bar and task-switcher icons, destroying the pair
// it had before, which the caller keeps in `big` and `small`.
void ReplaceWindowIcons(HWND window, HICON newBig, HICON newSmall, HICON& big, HICON& small);

// The window procedure of a window an object keeps: the object passed to
// CreateWindowEx gets every message through its handle() and learns its
// window in m_hwnd, which is cleared when the window is gone. The class
// befriends this template.
template <typename Owner>
LRESULT CALLBACK OwnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = self->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
    }
    return result;
}

}  // namespace velmora::win32
