// Builds the window from the shared design table: every control at its place,
// created in tab order, which is the order the dialog keys follow.

#include "main_window/win32/form1_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>

#include "core/units.h"
#include "design/win32/win32_design.h"

namespace velmora::win32 {

namespace {

constexpr int FirstControlId = 100;  // clear of IDOK and IDCANCEL, which Enter and Esc send

constexpr std::array<std::string_view, 3> OptionNames{"Option1(0)", "Option1(1)", "Option1(2)"};

constexpr std::size_t designIndex(std::string_view name) {
    for (std::size_t i = 0; i < Form1Design.size(); ++i)
        if (Form1Design[i].name == name)
            return i;
    return Form1Design.size();
}

constexpr std::size_t ModeFrame = designIndex("Frame2");
static_assert(ModeFrame < Form1Design.size());

DWORD labelAlignment(Alignment alignment) {
    switch (alignment) {
    case Alignment::Centre:
        return SS_CENTER;
    case Alignment::Right:
        return SS_RIGHT;
    case Alignment::Left:
        break;
    }
    return SS_LEFT;
}

// The option buttons are designed within Frame2; here they are its siblings.
design::TwipsRect placeInWindow(const ControlDesign& control) {
    design::TwipsRect place = control.place;
    if (control.kind == ControlKind::Option) {
        place.left += Form1Design[ModeFrame].place.left;
        place.top += Form1Design[ModeFrame].place.top;
    }
    return place;
}

}  // namespace

void Form1::createControls(HINSTANCE instance) {
    std::array<std::size_t, Form1Design.size()> order{};
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Tab order; what never takes the focus goes last, so the small captions
    // lie above the logo they overlap.
    std::stable_sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
        const int ta = Form1Design[a].tabIndex, tb = Form1Design[b].tabIndex;
        return (ta < 0 ? 1000 : ta) < (tb < 0 ? 1000 : tb);
    });

    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    bool firstOption = true;
    for (const std::size_t index : order) {
        const ControlDesign& control = Form1Design[index];
        const wchar_t* windowClass = WC_STATICW;
        DWORD style = child | WS_GROUP;
        DWORD exStyle = 0;
        switch (control.kind) {
        case ControlKind::TextBox:
            windowClass = WC_EDITW;
            style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::List:
            // Drawn here, so a result list shows its colour under every theme.
            windowClass = WC_COMBOBOXW;
            style |=
                WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
            break;
        case ControlKind::Frame:
            windowClass = WC_BUTTONW;
            style |= BS_GROUPBOX;
            break;
        case ControlKind::Option:
            // One group; the checked button becomes its tab stop.
            windowClass = WC_BUTTONW;
            style = child | BS_AUTORADIOBUTTON | (firstOption ? WS_GROUP | WS_TABSTOP : 0);
            firstOption = false;
            break;
        case ControlKind::Label:
            style |= SS_NOPREFIX | labelAlignment(control.alignment);
            break;
        case ControlKind::Picture:
            style |= SS_OWNERDRAW | SS_NOTIFY;
            break;
        }
        // A picture's text is never drawn; it is what a screen reader says.
        const std::wstring caption =
            Widen(control.kind == ControlKind::Picture ? control.accessibleName : control.caption);
        // Made at its place with its font: moving 26 controls afterwards
        // costs as much again at start-up.
        const RECT place = ToRect(placeInWindow(control), m_dpi);
        m_controls[index] = CreateWindowExW(
            exStyle, windowClass, caption.c_str(), style, place.left, place.top,
            place.right - place.left, windowHeight(control.kind, place), m_hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstControlId + static_cast<int>(index))),
            instance, nullptr);
        fitControl(index, place, true);
    }
    // The frame lies under its buttons, so it never paints over them.
    SetWindowPos(m_controls[ModeFrame], HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    for (std::size_t i = 0; i < FieldNames.size(); ++i) {
        FieldState& s = m_fields[i];
        s.hwnd = control(FieldNames[i]);
        s.accepted = WindowText(s.hwnd);
    }
    for (std::size_t i = 0; i < OptionNames.size(); ++i)
        m_options[i] = control(OptionNames[i]);
    m_image = control("Image1");

    const auto fill = [this](Field field, const auto& units) {
        const HWND list = state(field).hwnd;
        for (const core::Unit& unit : units) {
            const LRESULT item = SendMessageW(list, CB_ADDSTRING, 0,
                                              reinterpret_cast<LPARAM>(Widen(unit.text).c_str()));
            SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item),
                         static_cast<LPARAM>(unit.multiplier));
        }
    };
    fill(Field::SizeUnit, core::DataSizeUnits);
    fill(Field::SpeedUnit, core::SpeedUnits);

    // Checked before the buttons are watched: the load itself reports the mode.
    SendMessageW(m_options[0], BM_SETCHECK, BST_CHECKED, 0);
    m_mode = 0;

    m_logo = static_cast<HBITMAP>(
        LoadImageW(instance, L"VELMORA_LOGO", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// What the first paint need not wait for, done before the window takes any
// input: the lists' locks, the mode buttons' watch, the fields' names for
// screen readers and the logo's tool tip.
void Form1::completeControls() {
    if (m_toolTip)
        return;
    // The locks of the lists, and the mode following its buttons, matter
    // from the first input on.
    for (const Field list : {Field::SizeUnit, Field::SpeedUnit})
        SetWindowSubclass(state(list).hwnd, listProc, static_cast<UINT_PTR>(list),
                          reinterpret_cast<DWORD_PTR>(this));
    for (std::size_t i = 0; i < m_options.size(); ++i)
        SetWindowSubclass(m_options[i], optionProc, i, reinterpret_cast<DWORD_PTR>(this));

    // A screen reader names a field after the label just before it: an
    // invisible one, with the name the design gives it. Where the system
    // keeps names for windows, they are given outright too.
    for (std::size_t i = 0; i < Form1Design.size(); ++i) {
        const ControlDesign& control = Form1Design[i];
        if (control.accessibleName.empty() || control.kind == ControlKind::Picture)
            continue;
        const std::wstring name = Widen(control.accessibleName);
        const HWND label = CreateWindowExW(0, WC_STATICW, name.c_str(), WS_CHILD | SS_NOPREFIX, 0,
                                           0, 0, 0, m_hwnd, nullptr, m_instance, nullptr);
        const HWND before = GetWindow(m_controls[i], GW_HWNDPREV);
        SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_accessibleNames.name(m_controls[i], name);
    }
    m_accessibleNames.name(m_image, Widen(Form1Design[designIndex("Image1")].accessibleName));

    m_toolTip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr, m_instance, nullptr);
    std::wstring tip = Widen(LogoToolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_image);
    tool.lpszText = tip.data();
    SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // Each text box's tip is its whole text when the box clips it, asked
    // for as it shows (showWholeText).
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (isList(static_cast<Field>(i)))
            continue;
        tool.uId = reinterpret_cast<UINT_PTR>(m_fields[i].hwnd);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    // Long enough for the longest text to be read.
    SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, 600);
}

// The fonts at `dpi`; the ones they replace, for the caller to delete once
// no control holds them.
std::vector<HFONT> Form1::makeFonts(UINT dpi) {
    std::vector<HFONT> old;
    for (const CondensedFont& condensed : m_condensedFonts)
        old.push_back(condensed.font);
    m_condensedFonts.clear();
    for (HFONT font : {m_dialogFont, m_smallFont})
        if (font)
            old.push_back(font);
    m_dpi = dpi;
    m_dialogFont = CreateDesignFont(design::WindowsDialogFont, dpi, FF_SWISS);
    m_smallFont = CreateDesignFont(design::WindowsSmallCaptionFont, dpi, FF_ROMAN);
    m_textHeight = TextMetrics(m_dialogFont).tmHeight;
    return old;
}

int Form1::windowHeight(ControlKind kind, const RECT& place) {
    // A list's height counts its drop-down; its field is fitted after.
    return (place.bottom - place.top) * (kind == ControlKind::List ? 8 : 1);
}

void Form1::fitControl(std::size_t index, const RECT& place, bool created) {
    const ControlDesign& control = Form1Design[index];
    const HWND window = m_controls[index];
    if (control.kind == ControlKind::List) {
        // Drawn here, in the dialog font; the list itself never measures text.
        fitListHeight(window, place.bottom - place.top, created);
        return;
    }
    HFONT font = IsSmallCaption(control.name) ? m_smallFont : m_dialogFont;
    if (const int room = captionRoom(control.kind, place.right - place.left); room > 0)
        font = fittingFont(font, Widen(control.caption), room);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// The dialog font is wider than the one the window was drawn for: a caption
// that would not fit its box is condensed just enough to fit.
HFONT Form1::fittingFont(HFONT font, std::wstring_view caption, int room) {
    for (LONG average = CondensedWidthToFit(font, caption, room); average > 0; --average) {
        HFONT condensed = nullptr;
        for (const CondensedFont& made : m_condensedFonts)
            if (made.base == font && made.averageWidth == average)
                condensed = made.font;
        if (!condensed) {
            condensed = CreateCondensedFont(font, average);
            m_condensedFonts.push_back({font, average, condensed});
        }
        if (average == 1 || TextExtent(condensed, caption).cx <= room)
            return condensed;
    }
    return font;
}

// What a list asks as it is made: its field's height, fitted to the designed
// height of the whole, and its items' height.
UINT Form1::listItemHeight(UINT controlId, UINT item) const {
    const UINT index = controlId - FirstControlId;
    if (item != static_cast<UINT>(-1) || index >= Form1Design.size())
        return static_cast<UINT>(m_textHeight + ScalePixels(2, m_dpi));
    const RECT place = ToRect(Form1Design[index].place, m_dpi);
    // Until one is measured, a sunken edge above and below the field.
    const int frame = m_listFrame >= 0 ? m_listFrame : 2 * SystemMetric(SM_CYEDGE, m_dpi);
    return static_cast<UINT>(std::max(1, static_cast<int>(place.bottom - place.top) - frame));
}

// The window at the display's resolution: its frame around the designed
// client area, and its icon once it is shown.
void Form1::fitWindow() {
    const RECT client = ToRect({0, 0, Form1ClientWidth, Form1ClientHeight}, m_dpi);
    const RECT frame = WindowRectFor(client, Style, 0, m_dpi);
    m_windowSize = {frame.right - frame.left, frame.bottom - frame.top};
    RECT now{};
    GetWindowRect(m_hwnd, &now);
    if (now.right - now.left != m_windowSize.cx || now.bottom - now.top != m_windowSize.cy)
        SetWindowPos(m_hwnd, nullptr, 0, 0, m_windowSize.cx, m_windowSize.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame the system draws may differ from the one computed (a display
    // whose frame is not scaled, a theme): the client area is what must hold.
    GetClientRect(m_hwnd, &now);
    if (now.right != client.right || now.bottom != client.bottom) {
        m_windowSize.cx += client.right - now.right;
        m_windowSize.cy += client.bottom - now.bottom;
        SetWindowPos(m_hwnd, nullptr, 0, 0, m_windowSize.cx, m_windowSize.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    if (IsWindowVisible(m_hwnd))
        setIcons();
}

// The program's icon, at the sizes the title bar and the task switcher use
// here. Set as the window appears, so making the icons does not delay it.
void Form1::setIcons() {
    const auto icon = [this](int widthMetric, int heightMetric) {
        return static_cast<HICON>(LoadImageW(m_instance, L"IDI_ICON1", IMAGE_ICON,
                                             SystemMetric(widthMetric, m_dpi),
                                             SystemMetric(heightMetric, m_dpi), 0));
    };
    const HICON bigIcon = icon(SM_CXICON, SM_CYICON);
    const HICON smallIcon = icon(SM_CXSMICON, SM_CYSMICON);
    ReplaceWindowIcons(m_hwnd, bigIcon, smallIcon, m_bigIcon, m_smallIcon);
}

// Moved to a display of another resolution: everything again at its own.
void Form1::applyLayout(UINT dpi) {
    const std::vector<HFONT> oldFonts = makeFonts(dpi);
    for (std::size_t i = 0; i < Form1Design.size(); ++i) {
        const RECT place = ToRect(placeInWindow(Form1Design[i]), dpi);
        SetWindowPos(m_controls[i], nullptr, place.left, place.top, place.right - place.left,
                     windowHeight(Form1Design[i].kind, place), SWP_NOZORDER | SWP_NOACTIVATE);
        fitControl(i, place, false);
    }
    fitWindow();
    for (HFONT font : oldFonts)
        DeleteObject(font);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

// How wide a control's caption may be: a label's whole box, a button's box
// beside its mark, a frame's top edge between its corners.
int Form1::captionRoom(ControlKind kind, int width) const {
    switch (kind) {
    case ControlKind::Label:
        return width;
    case ControlKind::Option:
        return width - SystemMetric(SM_CXMENUCHECK, m_dpi) - ScalePixels(4, m_dpi);
    case ControlKind::Frame:
        return width - ScalePixels(16, m_dpi);
    default:
        return 0;
    }
}

// A drop-down list sizes itself from its field's item height; what the
// frame adds differs between themes, so it is measured on the first list.
void Form1::fitListHeight(HWND list, int height, bool created) {
    if (!created) {
        SendMessageW(list, CB_SETITEMHEIGHT, 0, listItemHeight(0, 0));
        SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                     listItemHeight(static_cast<UINT>(GetDlgCtrlID(list)), static_cast<UINT>(-1)));
    }
    // Some lists round the field's height: after the first correction, the
    // height is approached a pixel at a time.
    int field = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 8; ++attempt) {
        RECT now{};
        GetWindowRect(list, &now);
        const int difference = height - (now.bottom - now.top);
        if (difference == 0)
            break;
        if (attempt == 0)
            m_listFrame = now.bottom - now.top - field;
        field = std::max(1, attempt == 0 ? field + difference : field + (difference > 0 ? 1 : -1));
        SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

void Form1::drawItem(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    if (item.hwndItem == m_image) {
        FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        DrawStretched(dc, m_logo, item.rcItem);
        return;
    }
    const int field = fieldOf(item.hwndItem);
    if (field < 0 || item.CtlType != ODT_COMBOBOX)
        return;
    const FieldState& s = m_fields[static_cast<std::size_t>(field)];
    RECT area = item.rcItem;
    const bool inField = item.itemState & ODS_COMBOBOXEDIT;
    const bool selected = item.itemState & ODS_SELECTED;
    COLORREF text = ToColorRef(design::ReadableTextOn(s.backColour));
    // The field shows the list's colour; with the focus, the selection sits
    // inside it, a pixel in, as a drop-down list marks its focus.
    if (inField) {
        FillRect(dc, &area, brush(s.backColour));
        if (selected) {
            const int inset = ScalePixels(1, m_dpi);
            InflateRect(&area, -inset, -inset);
            FillRect(dc, &area, GetSysColorBrush(COLOR_HIGHLIGHT));
            text = GetSysColor(COLOR_HIGHLIGHTTEXT);
        }
    } else if (selected) {
        FillRect(dc, &area, GetSysColorBrush(COLOR_HIGHLIGHT));
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
        text = GetSysColor(COLOR_WINDOWTEXT);
    }
    if (item.itemID != static_cast<UINT>(-1)) {
        const auto length = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
        if (length > 0) {
            std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
            SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID,
                         reinterpret_cast<LPARAM>(caption.data()));
            caption.resize(static_cast<std::size_t>(length));
            RECT textArea = item.rcItem;
            textArea.left += ScalePixels(2, m_dpi);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, text);
            const HGDIOBJ old = SelectObject(dc, m_dialogFont);
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textArea,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
            SelectObject(dc, old);
        }
    }
    if (inField && (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &area);
}

HBRUSH Form1::fieldColours(HDC dc, HWND control) {
    const int field = fieldOf(control);
    if (field < 0)
        return nullptr;
    // The theme's text colour may be near-white; on a forced light field the
    // text takes whichever of black and white reads.
    const design::Rgb colour = m_fields[static_cast<std::size_t>(field)].backColour;
    SetBkColor(dc, ToColorRef(colour));
    SetTextColor(dc, ToColorRef(design::ReadableTextOn(colour)));
    return brush(colour);
}

HBRUSH Form1::brush(design::Rgb colour) {
    const COLORREF value = ToColorRef(colour);
    for (auto& [key, held] : m_brushes) {
        if (!held) {
            key = value;
            held = CreateSolidBrush(value);
        }
        if (key == value)
            return held;
    }
    return GetSysColorBrush(COLOR_WINDOW);
}

void Form1::releaseResources() {
    for (auto& [key, held] : m_brushes)
        if (held) {
            DeleteObject(held);
            held = nullptr;
        }
    for (const CondensedFont& condensed : m_condensedFonts)
        DeleteObject(condensed.font);
    m_condensedFonts.clear();
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(m_dialogFont), static_cast<HGDIOBJ>(m_smallFont),
                           static_cast<HGDIOBJ>(m_logo)})
        if (object)
            DeleteObject(object);
    m_dialogFont = m_smallFont = nullptr;
    m_logo = nullptr;
    for (HICON icon : {m_bigIcon, m_smallIcon})
        if (icon)
            DestroyIcon(icon);
    m_bigIcon = m_smallIcon = nullptr;
}

}  // namespace velmora::win32
