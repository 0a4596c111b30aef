#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "about/win32/about_box_win32.h"
#include "design/win32/win32_design.h"
#include "main_window/win32/form1_win32.h"

namespace velmora::win32::testing {

// Delivers what is waiting, as the program's message loop does.
inline void Pump(Form1* form = nullptr) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (form && form->preTranslateMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A left click at a point of a window's client area, as the mouse sends it.
inline void PostClick(HWND window, POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
}

// The share of a window's client pixels, as painted, that have the colour.
inline double ShareOfColour(HWND window, COLORREF colour) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT area{};
    GetClientRect(window, &area);
    const int width = area.right, height = area.bottom;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = GetDC(window);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP copy = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    int matching = 0;
    const auto* pixels = static_cast<const DWORD*>(bits);
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < width * height; ++i)
        matching += (pixels[i] & 0xFFFFFF) == wanted;
    SelectObject(memory, old);
    DeleteObject(copy);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return width > 0 && height > 0 ? double(matching) / (width * height) : 0;
}

// Runs `step` inside the modal loop of the next About box that `open` opens,
// and closes the box after a while if the step left it open.
struct AboutVisit {
    bool opened = false;    // a box opened at all
    bool leftOpen = false;  // the step did not close it
};

namespace detail {

inline const std::function<void(HWND)>* pendingStep = nullptr;
inline AboutVisit* currentVisit = nullptr;

inline BOOL CALLBACK noteAboutBox(HWND window, LPARAM found) {
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    if (std::wstring_view(name) != AboutBoxClassName)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

inline HWND aboutBox() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), noteAboutBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

inline void CALLBACK runStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (const HWND box = aboutBox(); box && pendingStep && currentVisit) {
        currentVisit->opened = true;
        (*pendingStep)(box);
    }
    pendingStep = nullptr;
}

inline void CALLBACK closeLeftOpen(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (const HWND box = aboutBox()) {
        if (currentVisit)
            currentVisit->leftOpen = true;
        PostMessageW(box, WM_CLOSE, 0, 0);
    }
}

}  // namespace detail

inline AboutVisit WithAboutOpen(const std::function<void()>& open,
                                const std::function<void(HWND box)>& step) {
    AboutVisit visit;
    detail::pendingStep = &step;
    detail::currentVisit = &visit;
    const UINT_PTR stepTimer = SetTimer(nullptr, 0, 10, detail::runStep);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, detail::closeLeftOpen);
    open();
    KillTimer(nullptr, stepTimer);
    KillTimer(nullptr, watchdog);
    detail::pendingStep = nullptr;
    detail::currentVisit = nullptr;
    return visit;
}

// A fresh calculator window per test, driven as a user drives it.
class Form1Window : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(form.create(GetModuleHandleW(nullptr)));
        form.show(SW_SHOWNORMAL);
        pump();
    }

    void pump() { Pump(&form); }

    HWND control(std::string_view name) const {
        const HWND found = form.control(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    std::string text(std::string_view name) const { return Narrow(WindowText(control(name))); }
    static std::string timeName(int i) { return "Text3(" + std::to_string(i) + ")"; }
    std::array<std::string, 6> timeTexts() const {
        std::array<std::string, 6> texts;
        for (int i = 0; i < 6; ++i)
            texts[static_cast<std::size_t>(i)] = text(timeName(i));
        return texts;
    }
    int unit(std::string_view list) const {
        return static_cast<int>(SendMessageW(control(list), CB_GETCURSEL, 0, 0));
    }
    bool readOnly(std::string_view field) const {
        return GetWindowLongW(control(field), GWL_STYLE) & ES_READONLY;
    }
    int runs(core::CalcMode mode) const { return form.calculationRuns(mode); }
    int allRuns() const {
        return runs(core::CalcMode::Time) + runs(core::CalcMode::Speed) +
               runs(core::CalcMode::Data);
    }

    // A key as the keyboard sends it to whatever has the focus.
    void press(UINT key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        pump();
    }
    void focus(std::string_view name) {
        SetFocus(control(name));
        pump();
    }
    // Selects what the field holds and types over it, one character at a time.
    void typeInto(std::string_view name, std::string_view typed) {
        const HWND field = control(name);
        focus(name);
        SendMessageW(field, EM_SETSEL, 0, -1);
        if (typed.empty())
            press(VK_DELETE);
        for (const char c : typed) {
            PostMessageW(field, WM_CHAR, static_cast<unsigned char>(c), 1);
            pump();
        }
    }
    void typeTime(const std::array<const char*, 6>& texts) {
        for (int i = 0; i < 6; ++i)
            typeInto(timeName(i), texts[static_cast<std::size_t>(i)]);
    }
    // Picks a unit with the keyboard: Home, then Down as often as needed.
    void chooseUnit(std::string_view list, int index) {
        focus(list);
        press(VK_HOME);
        for (int i = 0; i < index; ++i)
            press(VK_DOWN);
    }
    HWND option(int index) const { return control("Option1(" + std::to_string(index) + ")"); }
    bool checked(int index) const {
        return SendMessageW(option(index), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // A click on the button's mark.
    void chooseMode(int index) {
        RECT area{};
        GetClientRect(option(index), &area);
        PostClick(option(index), {ScalePixels(6, form.dpi()), area.bottom / 2});
        pump();
    }

    Form1 form;
};

}  // namespace velmora::win32::testing
