#include "main_window/win32/form1_win32.h"

#include <commctrl.h>

#include "about/win32/about_box_win32.h"
#include "design/win32/win32_design.h"
#include "main_window/decimal_separator.h"
#include "main_window/list_lock.h"

namespace velmora::win32 {

namespace {

constexpr wchar_t ClassName[] = L"VelmoraForm1";

ListKey listKey(WPARAM key) {
    switch (key) {
    case VK_UP:
        return ListKey::Up;
    case VK_DOWN:
        return ListKey::Down;
    case VK_LEFT:
        return ListKey::Left;
    case VK_RIGHT:
        return ListKey::Right;
    case VK_HOME:
        return ListKey::Home;
    case VK_END:
        return ListKey::End;
    case VK_PRIOR:
        return ListKey::PageUp;
    case VK_NEXT:
        return ListKey::PageDown;
    case VK_SPACE:
        return ListKey::Space;
    case VK_F4:
        return ListKey::F4;
    case VK_TAB:
        return ListKey::Tab;
    case VK_RETURN:
        return ListKey::Enter;
    case VK_ESCAPE:
        return ListKey::Escape;
    case VK_F1:
        return ListKey::F1;
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LWIN:
    case VK_RWIN:
        return ListKey::Modifier;
    default:
        break;
    }
    if (key >= VK_F2 && key <= VK_F24)
        return ListKey::OtherFunctionKey;
    // A key that types: the character it sends picks a unit.
    if (MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) != 0)
        return ListKey::Character;
    return ListKey::Other;
}

// Alt from the key message itself; the others as the keyboard holds them.
KeyModifiers keyModifiers(LPARAM keyData) {
    const auto down = [](int key) { return GetKeyState(key) < 0; };
    return {down(VK_SHIFT), down(VK_CONTROL), (keyData & (LPARAM{1} << 29)) != 0,
            down(VK_LWIN) || down(VK_RWIN)};
}

std::string localeText(LCTYPE type) {
    wchar_t text[16]{};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 16) < 1)
        return {};
    return Narrow(text);
}

// The decimal symbol as the user set it in the system's settings.
std::string userDecimalSymbol() { return localeText(LOCALE_SDECIMAL); }

// The zero of the digits the user sees: the native ones, unless the system
// is set never to substitute them for Latin ones.
std::string userZeroDigit() {
    DWORD substitution = 1;
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IDIGITSUBSTITUTION | LOCALE_RETURN_NUMBER,
                    reinterpret_cast<LPWSTR>(&substitution), sizeof substitution / sizeof(wchar_t));
    if (substitution == 1)
        return "0";
    const std::wstring digits = Widen(localeText(LOCALE_SNATIVEDIGITS));
    return digits.empty() ? "0" : Narrow(digits.substr(0, 1));
}

}  // namespace

Form1::~Form1() {
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    releaseResources();
}

bool Form1::create(HINSTANCE instance, bool endsProgram) {
    m_instance = instance;
    m_endsProgram = endsProgram;

    // The user's own separator for results, as every toolkit decides it;
    // reading accepts it besides '.'.
    m_decimalSeparator = WrittenDecimalSeparator(userDecimalSymbol(), userZeroDigit());

    if (!RegisterDialogClass(instance, ClassName, OwnedWindowProc<Form1>))
        return false;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    // Centred on the work area. No clipping of the children: the frame of the
    // mode buttons leaves its inside for the window to paint.
    makeFonts(SystemDpi());
    const RECT frame =
        WindowRectFor(ToRect({0, 0, Form1ClientWidth, Form1ClientHeight}, m_dpi), Style, 0, m_dpi);
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    if (!CreateWindowExW(0, ClassName, Widen(Form1Caption).c_str(), Style,
                         workArea.left + (workArea.right - workArea.left - width) / 2,
                         workArea.top + (workArea.bottom - workArea.top - height) / 2, width,
                         height, nullptr, nullptr, instance, this))
        return false;
    // Where each display has its own resolution, the window takes its display's.
    if (const UINT dpi = WindowDpi(m_hwnd); dpi != m_dpi)
        for (HFONT unused : makeFonts(dpi))
            DeleteObject(unused);
    fitWindow();
    createControls(instance);

    m_rules.loaded();
    m_lastFocus = state(Field::DataSize).hwnd;
    return true;
}

void Form1::show(int showCommand) {
    ShowWindow(m_hwnd, showCommand);
    setIcons();
    UpdateWindow(m_hwnd);
    if (m_lastFocus && GetFocus() != m_lastFocus)
        SetFocus(m_lastFocus);
    // Shown and painted; the rest before the first message is taken.
    completeControls();
}

bool Form1::preTranslateMessage(MSG& message) {
    if (!m_hwnd || (message.hwnd != m_hwnd && !IsChild(m_hwnd, message.hwnd)))
        return false;
    // F1, the usual Help key, opens the About box from anywhere in the window.
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
        if (IsWindowEnabled(m_hwnd))
            m_rules.logoClicked();
        return true;
    }
    return IsDialogMessageW(m_hwnd, &message);
}

HWND Form1::control(std::string_view name) const {
    for (std::size_t i = 0; i < Form1Design.size(); ++i)
        if (Form1Design[i].name == name)
            return m_controls[i];
    return nullptr;
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Enter and Esc come as commands without a control; nothing here takes them.
        if (lParam)
            onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:  // what a read-only edit box sends
        if (const HBRUSH background =
                fieldColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(background);
        break;
    case WM_NOTIFY:
        if (auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            tip->hdr.hwndFrom == m_toolTip && tip->hdr.code == TTN_GETDISPINFOW) {
            showWholeText(*tip);
            return 0;
        }
        break;
    case WM_DRAWITEM:
        drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        item.itemHeight = listItemHeight(item.CtlID, item.itemID);
        return TRUE;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(m_hwnd, focus))
                m_lastFocus = focus;
        } else if (!HIWORD(wParam) && m_lastFocus) {
            SetFocus(m_lastFocus);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (m_lastFocus)
            SetFocus(m_lastFocus);
        return 0;
    case WM_SIZE:
        // Maximised all the same (ShowWindow from outside): back to normal, so
        // that a later restore does not bring the maximised state back.
        if (wParam == SIZE_MAXIMIZED)
            PostMessageW(m_hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        break;
    case WM_SYSCOMMAND:
        // A fixed window: no maximising, no sizing, whoever asks.
        if ((wParam & 0xFFF0) == SC_MAXIMIZE || (wParam & 0xFFF0) == SC_SIZE)
            return 0;
        break;
    case WM_WINDOWPOSCHANGING: {
        auto& place = *reinterpret_cast<WINDOWPOS*>(lParam);
        if (IsIconic(m_hwnd))
            break;
        if (IsZoomed(m_hwnd) && !(place.flags & SWP_NOMOVE)) {
            // Maximised from outside: it stays where it is, as it is.
            RECT now{};
            GetWindowRect(m_hwnd, &now);
            place.x = now.left;
            place.y = now.top;
        }
        if (!(place.flags & SWP_NOSIZE) && m_windowSize.cx > 0) {
            place.cx = m_windowSize.cx;
            place.cy = m_windowSize.cy;
        }
        break;
    }
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        applyLayout(HIWORD(wParam));
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(m_hwnd);
        return 0;
    case WM_DESTROY:
        m_accessibleNames.clear();
        if (m_endsProgram)
            PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

// A locked list keeps the focus and its place in the tab order, but refuses
// what the lock rule says would change or open it, and a selection from
// another program. Only the adapter's own write goes through.
LRESULT CALLBACK Form1::listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR field, DWORD_PTR self) {
    const Form1& form = *reinterpret_cast<const Form1*>(self);
    if (message == WM_NCDESTROY) {
        ClearListLock(list);
        RemoveWindowSubclass(list, listProc, field);
    } else if (message == WM_GETOBJECT &&
               static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
        // A screen reader asks: what the list is for, and the unit it shows.
        for (std::size_t i = 0; i < form.m_controls.size(); ++i)
            if (form.m_controls[i] == list)
                if (const LRESULT object =
                        AnswerListObject(list, wParam, Widen(Form1Design[i].accessibleName)))
                    return object;
    } else if (message == WM_SYSKEYDOWN && wParam == VK_F4 && (lParam & (LPARAM{1} << 29))) {
        // Alt+F4 closes the window from a list as from anywhere; Wine's list
        // would take the F4 and keep it.
        return DefWindowProcW(list, message, wParam, lParam);
    } else if (const bool locked = form.m_fields[field].locked && form.m_writing != list) {
        switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (ListRefuses(ListActionOf(listKey(wParam), keyModifiers(lParam)), locked))
                return 0;
            break;
        case WM_CHAR:
            // A printable character is the list's type-ahead; control
            // characters (Tab, Enter, Esc, Ctrl+letter) are not.
            if (wParam >= L' ' && wParam != 0x7F &&
                ListRefuses(ListActionOf(ListKey::Character, {}), locked))
                return 0;
            break;
        case WM_MOUSEWHEEL:
            if (ListRefuses(ListAction::Wheel, locked))
                return 0;
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (ListRefuses(ListAction::Press, locked)) {
                SetFocus(list);
                return 0;
            }
            break;
        case CB_SHOWDROPDOWN:
            if (wParam && ListRefuses(ListAction::Open, locked))
                return TRUE;
            break;
        // Another program's choice, not the user's: refused outright.
        case CB_SETCURSEL:
        case CB_SELECTSTRING:
            return CB_ERR;
        default:
            break;
        }
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

// The mode follows the checked button however it became checked: mouse,
// keyboard, an assistive tool, or another program.
LRESULT CALLBACK Form1::optionProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR index, DWORD_PTR self) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(button, optionProc, index);
    const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
    if (message == BM_SETCHECK && wParam == BST_CHECKED)
        reinterpret_cast<Form1*>(self)->modeFollows(static_cast<int>(index));
    return result;
}

// A text box's tool tip, asked for as it is about to show: the whole text
// where the box clips it, nothing (no tip) where it fits.
void Form1::showWholeText(NMTTDISPINFOW& tip) {
    const auto box = reinterpret_cast<HWND>(tip.hdr.idFrom);
    m_toolTipText.clear();
    const std::wstring text = WindowText(box);
    RECT room{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    SIZE extent{};
    if (const HDC dc = GetDC(box)) {
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(box, dc);
    }
    if (extent.cx > room.right - room.left)
        m_toolTipText = text;
    tip.lpszText = m_toolTipText.data();
}

void Form1::onCommand(HWND control, WORD code) {
    if (const int field = fieldOf(control); field >= 0) {
        const auto which = static_cast<Field>(field);
        if (!isList(which)) {
            if (code == EN_CHANGE)
                textEdited(which);
        } else if (code == CBN_SELCHANGE || code == CBN_CLOSEUP || code == CBN_SELENDCANCEL) {
            listChosen(which);
        }
        return;
    }
    if (const int option = optionOf(control); option >= 0) {
        if (code == BN_CLICKED && modeChosen(static_cast<core::CalcMode>(option)))
            modeFollows(option);
        return;
    }
    if (control == m_image && code == STN_CLICKED)
        m_rules.logoClicked();
}

// The user's edit, or another program's: an edit box tells of every change,
// even to the same text, so the text is compared with what was last reported.
void Form1::textEdited(Field field) {
    FieldState& s = state(field);
    if (s.hwnd == m_writing)
        return;
    std::wstring now = WindowText(s.hwnd);
    if (now == s.accepted)
        return;
    if (s.locked) {
        // Only a write from outside reaches a read-only box; put the result back.
        const HWND outer = m_writing;
        m_writing = s.hwnd;
        SetWindowTextW(s.hwnd, s.accepted.c_str());
        m_writing = outer;
        return;
    }
    s.accepted = std::move(now);
    m_rules.Raise(field);
}

void Form1::listChosen(Field field) {
    FieldState& s = state(field);
    if (s.hwnd == m_writing)
        return;
    const int now = static_cast<int>(SendMessageW(s.hwnd, CB_GETCURSEL, 0, 0));
    if (now == s.acceptedIndex)
        return;
    if (s.locked) {
        const HWND outer = m_writing;
        m_writing = s.hwnd;
        SendMessageW(s.hwnd, CB_SETCURSEL, static_cast<WPARAM>(s.acceptedIndex), 0);
        m_writing = outer;
        return;
    }
    s.acceptedIndex = now;
    m_rules.Raise(field);
}

void Form1::modeFollows(int index) {
    if (index == m_mode)
        return;
    m_mode = index;
    // The checked button is the group's one tab stop.
    for (int i = 0; i < static_cast<int>(m_options.size()); ++i) {
        const HWND button = m_options[static_cast<std::size_t>(i)];
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        const LONG_PTR wanted = i == index ? style | WS_TABSTOP : style & ~LONG_PTR{WS_TABSTOP};
        if (wanted != style)
            SetWindowLongPtrW(button, GWL_STYLE, wanted);
    }
    m_rules.calculatedQuantityChosen(static_cast<core::CalcMode>(index));
}

std::string Form1::text(Field textBox) const { return Narrow(WindowText(state(textBox).hwnd)); }

// Writes that change something raise the control's event themselves, nested
// here, with the native notification of the write swallowed; writes that
// change nothing raise nothing.
void Form1::setText(Field textBox, const std::string& text) {
    FieldState& s = state(textBox);
    std::wstring wanted = Widen(text);
    if (wanted == WindowText(s.hwnd))
        return;
    const HWND outer = m_writing;
    m_writing = s.hwnd;
    SetWindowTextW(s.hwnd, wanted.c_str());
    m_writing = outer;
    s.accepted = std::move(wanted);
    m_rules.Raise(textBox);
}

std::int32_t Form1::itemData(Field list) const {
    const HWND box = state(list).hwnd;
    const LRESULT index = SendMessageW(box, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return 0;
    return static_cast<std::int32_t>(
        SendMessageW(box, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void Form1::setListIndex(Field list, int index) {
    FieldState& s = state(list);
    if (SendMessageW(s.hwnd, CB_GETCURSEL, 0, 0) == index)
        return;
    const HWND outer = m_writing;
    m_writing = s.hwnd;
    SendMessageW(s.hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    m_writing = outer;
    s.acceptedIndex = index;
    m_rules.Raise(list);
}

bool Form1::modeChosen(core::CalcMode mode) const {
    return SendMessageW(m_options[static_cast<std::size_t>(mode)], BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
}

void Form1::setLocked(Field control, bool locked) {
    FieldState& s = state(control);
    if (s.locked == locked)
        return;
    s.locked = locked;
    if (!isList(control))
        SendMessageW(s.hwnd, EM_SETREADONLY, locked, 0);
    else
        MarkListLocked(s.hwnd, locked);  // read-only to screen readers, as a locked text box
    InvalidateRect(s.hwnd, nullptr, TRUE);
}

void Form1::setBackColor(Field control, design::Rgb colour) {
    FieldState& s = state(control);
    if (s.backColour == colour)
        return;
    s.backColour = colour;
    InvalidateRect(s.hwnd, nullptr, TRUE);
}

void Form1::showAboutModal() {
    // Disabling the window takes the focus from it; it comes back here.
    const HWND focus = GetFocus();
    if (focus && IsChild(m_hwnd, focus))
        m_lastFocus = focus;
    ShowAboutModal(m_hwnd);
}

int Form1::fieldOf(HWND control) const {
    if (!control)
        return -1;
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].hwnd == control)
            return static_cast<int>(i);
    return -1;
}

int Form1::optionOf(HWND control) const {
    if (!control)
        return -1;
    for (std::size_t i = 0; i < m_options.size(); ++i)
        if (m_options[i] == control)
            return static_cast<int>(i);
    return -1;
}

}  // namespace velmora::win32
