// The least a Win32 program with Velmora's controls can cost at start-up:
// the same 26 controls of the same kinds (common controls 6, through the
// same manifest) at the same places (pixels at 96 dpi), with their captions
// and list items in the dialog font every dialog has, and nothing else: no
// calculation, no fitted or serif fonts, no icon, no pictures, no names for
// screen readers. Velmora.exe's start-up is measured against this
// (scripts/startup-bench-wine).

#include <windows.h>

namespace {

struct Control {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
    int left, top, width, height;
    const wchar_t* caption;
};

constexpr DWORD Child = WS_CHILD | WS_VISIBLE;
constexpr DWORD Text = Child | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD List = Child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD Option = Child | BS_AUTORADIOBUTTON;
constexpr DWORD Label = Child | SS_LEFT;

const Control controls[] = {
    {L"EDIT", Text, WS_EX_CLIENTEDGE, 240, 96, 37, 19, L"32"},
    {L"EDIT", Text, WS_EX_CLIENTEDGE, 160, 96, 37, 19, L"32"},
    {L"EDIT", Text, WS_EX_CLIENTEDGE, 88, 96, 37, 19, L"32"},
    {L"EDIT", Text, WS_EX_CLIENTEDGE, 240, 116, 37, 19, L"32"},
    {L"EDIT", Text, WS_EX_CLIENTEDGE, 160, 116, 37, 19, L"32"},
    {L"EDIT", Text, WS_EX_CLIENTEDGE, 88, 116, 37, 19, L"32"},
    {L"BUTTON", Child | BS_GROUPBOX, 0, 20, 8, 269, 33, L"Calculate:"},
    {L"BUTTON", Option, 0, 192, 24, 57, 13, L"Data"},
    {L"BUTTON", Option, 0, 128, 24, 57, 13, L"Speed"},
    {L"BUTTON", Option | WS_GROUP | WS_TABSTOP, 0, 64, 24, 57, 13, L"Time"},
    {L"COMBOBOX", List, 0, 168, 71, 121, 160, L""},
    {L"EDIT", Text, WS_EX_CLIENTEDGE, 88, 49, 77, 19, L"32"},
    {L"COMBOBOX", List, 0, 168, 48, 121, 160, L""},
    {L"EDIT", Text, WS_EX_CLIENTEDGE, 88, 72, 77, 19, L"32"},
    {L"STATIC", Label, 0, 20, 137, 65, 9, L"Presentation"},
    {L"STATIC", Label, 0, 4, 111, 13, 9, L"A"},
    {L"STATIC", Label, 0, 4, 120, 70, 20, L""},
    {L"STATIC", Label, 0, 280, 100, 25, 13, L"days"},
    {L"STATIC", Label, 0, 200, 100, 37, 13, L"Weeks"},
    {L"STATIC", Label, 0, 128, 100, 29, 13, L"Yearss."},
    {L"STATIC", Label, 0, 280, 119, 41, 13, L"seconds"},
    {L"STATIC", Label, 0, 200, 119, 37, 13, L"Minutes."},
    {L"STATIC", Label, 0, 128, 119, 29, 13, L"Hours"},
    {L"STATIC", Label, 0, 8, 97, 77, 17, L"Time:"},
    {L"STATIC", Label, 0, 8, 50, 77, 17, L"Data Size:"},
    {L"STATIC", Label, 0, 8, 73, 77, 17, L"Transfer Speed:"},
};

const wchar_t* const units[] = {L"KiloBytes", L"MegaBytes", L"GigaBytes", L"Bytes"};

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"Floor";
    RegisterClassW(&windowClass);

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, 327, 146};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const HWND window = CreateWindowExW(
        0, L"Floor", L"Velmora", style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
        frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    // The dialog font every dialog gets from its template.
    LOGFONTW dialogFont{};
    dialogFont.lfHeight = -MulDiv(8, 96, 72);
    dialogFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(dialogFont.lfFaceName, L"MS Shell Dlg 2");
    const HFONT font = CreateFontIndirectW(&dialogFont);
    for (const Control& control : controls) {
        const HWND child = CreateWindowExW(control.exStyle, control.windowClass, control.caption,
                                           control.style, control.left, control.top, control.width,
                                           control.height, window, nullptr, instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (control.style == List)
            for (const wchar_t* unit : units)
                SendMessageW(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unit));
    }
    ShowWindow(window, showCommand);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
