#include "about/win32/about_box_win32.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "about/about_design.h"
#include "design/win32/accessible_names.h"
#include "design/win32/win32_design.h"

namespace velmora::win32 {

namespace {

constexpr DWORD BoxStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// A dialog's frame and no task bar button: the box is owned by the main window.
constexpr DWORD BoxExStyle = WS_EX_DLGMODALFRAME;
constexpr int PictureId = 101;
constexpr int FirstLabelId = 102;

// The logo, title, version, what the program does, and a warning; built
// anew for every opening.
class AboutBox {
public:
    AboutBox() = default;
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;
    ~AboutBox();

    bool create(HWND owner);
    HWND hwnd() const { return m_hwnd; }
    bool closed() const { return m_closed || !m_hwnd; }
    bool pressedOk() const { return m_pressedOk; }

private:
    friend LRESULT CALLBACK win32::OwnedWindowProc<AboutBox>(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void applyLayout(UINT dpi);
    void formLoad();
    void okClicked();
    void paintRule(HDC dc) const;
    void drawLogo(const DRAWITEMSTRUCT& item) const;
    HBRUSH labelColours(HDC dc, HWND label) const;

    HWND m_hwnd = nullptr;
    HWND m_ok = nullptr;
    HWND m_picture = nullptr;
    std::array<HWND, about::Labels.size()> m_labels{};
    HWND m_lastFocus = nullptr;
    UINT m_dpi = 96;
    HFONT m_font = nullptr;
    HBITMAP m_logo = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    bool m_closed = false;
    bool m_pressedOk = false;
    AccessibleNames m_accessibleNames;
};

AboutBox::~AboutBox() {
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    if (m_font)
        DeleteObject(m_font);
    if (m_logo)
        DeleteObject(m_logo);
    for (HICON icon : {m_bigIcon, m_smallIcon})
        if (icon)
            DestroyIcon(icon);
}

bool AboutBox::create(HWND owner) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterDialogClass(instance, AboutBoxClassName, OwnedWindowProc<AboutBox>))
        return false;
    if (!CreateWindowExW(BoxExStyle, AboutBoxClassName, Widen(about::DesignCaption).c_str(),
                         BoxStyle, 0, 0, 0, 0, owner, nullptr, instance, this))
        return false;

    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP;
    m_ok = CreateWindowExW(0, L"BUTTON", Widen(about::OkCaption).c_str(),
                           child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, m_hwnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance, nullptr);
    // The logo takes the focus too, as the only other stop of the Tab key.
    // Its text is never drawn: it is what a screen reader says.
    m_picture = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"STATIC", Widen(about::LogoAccessibleName).c_str(),
        child | WS_TABSTOP | SS_OWNERDRAW | SS_NOTIFY, 0, 0, 0, 0, m_hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(PictureId)), instance, nullptr);
    for (std::size_t i = 0; i < m_labels.size(); ++i)
        m_labels[i] = CreateWindowExW(
            0, L"STATIC", Widen(about::Labels[i].caption).c_str(), child | SS_LEFT | SS_NOPREFIX, 0,
            0, 0, 0, m_hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstLabelId + static_cast<int>(i))),
            instance, nullptr);
    m_logo = static_cast<HBITMAP>(
        LoadImageW(instance, L"VELMORA_LOGO", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    m_accessibleNames.name(m_picture, Widen(about::LogoAccessibleName));

    applyLayout(SystemDpi());
    // Where the system knows each display's resolution, the box follows its own.
    if (const UINT dpi = WindowDpi(m_hwnd); dpi != m_dpi)
        applyLayout(dpi);
    formLoad();
    m_lastFocus = m_ok;
    return true;
}

void AboutBox::formLoad() {
    const about::LoadedCaptions captions = about::CaptionsOnLoad();
    SetWindowTextW(m_hwnd, Widen(captions.window).c_str());
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        if (about::Labels[i].name == "lblVersion")
            SetWindowTextW(m_labels[i], Widen(captions.version).c_str());
        else if (about::Labels[i].name == "lblTitle")
            SetWindowTextW(m_labels[i], Widen(captions.title).c_str());
    }
}

void AboutBox::applyLayout(UINT dpi) {
    m_dpi = dpi;
    const HFONT oldFont = m_font;
    m_font = CreateDesignFont(design::WindowsDialogFont, dpi, FF_SWISS);
    const auto place = [this](HWND window, design::TwipsRect twips) {
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        const RECT r = ToRect(twips, m_dpi);
        SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(m_ok, about::OkButtonPlace);
    place(m_picture, about::LogoPlace);
    for (std::size_t i = 0; i < m_labels.size(); ++i)
        place(m_labels[i], about::Labels[i].place);
    if (oldFont)
        DeleteObject(oldFont);

    // Not centred: the client area's corner sits at the same place on the
    // screen at every opening.
    const RECT client =
        ToRect({about::ScreenLeft, about::ScreenTop, about::ClientWidth, about::ClientHeight}, dpi);
    RECT frame = WindowRectFor(client, BoxStyle, BoxExStyle, dpi);
    SetWindowPos(m_hwnd, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Measured, in case the frame the system draws differs from the computed one.
    RECT now{};
    GetClientRect(m_hwnd, &now);
    MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&now), 2);
    if (!EqualRect(&now, &client)) {
        frame.left += client.left - now.left;
        frame.top += client.top - now.top;
        frame.right += client.right - now.right;
        frame.bottom += client.bottom - now.bottom;
        SetWindowPos(m_hwnd, nullptr, frame.left, frame.top, frame.right - frame.left,
                     frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // One large picture: shrunk smoothly to the title bar's size and the task switcher's.
    const HICON bigIcon = LoadShrunkIcon(instance, L"VELMORA_ABOUT", SystemMetric(SM_CXICON, dpi));
    const HICON smallIcon =
        LoadShrunkIcon(instance, L"VELMORA_ABOUT", SystemMetric(SM_CXSMICON, dpi));
    ReplaceWindowIcons(m_hwnd, bigIcon, smallIcon, m_bigIcon, m_smallIcon);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

LRESULT AboutBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // OK is the default and the cancel button: Enter and Esc press it.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            okClicked();
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
        m_closed = true;
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MAXIMIZE:
        case SC_MINIMIZE:
        case SC_SIZE:
            return 0;
        default:
            break;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(m_hwnd, focus))
                m_lastFocus = focus;
        } else if (m_lastFocus) {
            SetFocus(m_lastFocus);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (m_lastFocus)
            SetFocus(m_lastFocus);
        return 0;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            labelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DRAWITEM:
        drawLogo(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(m_hwnd, &paint);
        paintRule(dc);
        EndPaint(m_hwnd, &paint);
        return 0;
    }
    case WM_DPICHANGED:
        applyLayout(HIWORD(wParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void AboutBox::okClicked() {
    m_pressedOk = true;
    m_closed = true;
}

// Black where the design asks for it, unless the face is too dark for it.
HBRUSH AboutBox::labelColours(HDC dc, HWND label) const {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    COLORREF text = GetSysColor(COLOR_BTNTEXT);
    for (std::size_t i = 0; i < m_labels.size(); ++i)
        if (m_labels[i] == label && about::Labels[i].black)
            text = ToColorRef(design::DesignedOrThemeText({0, 0, 0}, ToRgb(face), ToRgb(text)));
    SetTextColor(dc, text);
    SetBkColor(dc, face);
    return GetSysColorBrush(COLOR_BTNFACE);
}

// The logo at its natural size, scaled only with the display.
void AboutBox::drawLogo(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    BITMAP logo{};
    if (!m_logo || !GetObjectW(m_logo, sizeof logo, &logo))
        return;
    const RECT into{item.rcItem.left, item.rcItem.top,
                    item.rcItem.left + ScalePixels(logo.bmWidth, m_dpi),
                    item.rcItem.top + ScalePixels(logo.bmHeight, m_dpi)};
    DrawStretched(item.hDC, m_logo, into);
}

// The engraved rule: a grey stroke with a white one a pixel below and right.
// On a dark face those would stand out, so the face's own shades draw the
// groove there.
void AboutBox::paintRule(HDC dc) const {
    const design::Rgb face = ToRgb(GetSysColor(COLOR_BTNFACE));
    const int lightest = std::max({face.red, face.green, face.blue});
    const int darkest = std::min({face.red, face.green, face.blue});
    const bool darkFace = lightest + darkest <= 256;
    for (std::size_t i = 0; i < about::Rule.size(); ++i) {
        const about::RuleDesign& stroke = about::Rule[i];
        design::Rgb colour = stroke.colour;
        if (darkFace) {
            const auto shade = [&](std::uint8_t channel) {
                const int value = i == 0 ? channel / 2 : channel * 7 / 5;
                return static_cast<std::uint8_t>(std::min(value, 255));
            };
            colour = {shade(face.red), shade(face.green), shade(face.blue)};
        }
        const int top = design::TwipsToPixels(stroke.y1, static_cast<int>(m_dpi));
        const RECT line{design::TwipsToPixels(stroke.x1, static_cast<int>(m_dpi)), top,
                        design::TwipsToPixels(stroke.x2, static_cast<int>(m_dpi)),
                        top + ScalePixels(stroke.widthPixels, m_dpi)};
        const HBRUSH brush = CreateSolidBrush(ToColorRef(colour));
        FillRect(dc, &line, brush);
        DeleteObject(brush);
    }
}

}  // namespace

bool ShowAboutModal(HWND owner) {
    AboutBox box;
    if (!box.create(owner))
        return false;
    // EnableWindow answers whether the window was disabled before.
    const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
    ShowWindow(box.hwnd(), SW_SHOW);

    MSG message;
    while (!box.closed()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the outer loop must see the quit too.
            if (got == 0)
                PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!IsDialogMessageW(box.hwnd(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The owner first, so that it takes the activation back from the box.
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    return box.pressedOk();
}

}  // namespace velmora::win32
