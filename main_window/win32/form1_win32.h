#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "design/win32/accessible_names.h"
#include "design/win32/win32_design.h"
#include "main_window/form1_design.h"
#include "main_window/form1_rules.h"

namespace velmora::win32 {

// The calculator's window on Win32. The rules live in Form1Rules; this class
// moves text, selections, locks and colours between them and the native
// controls, and gives the rules the events they expect: the native controls
// notify differently (a list's selection set in code tells nobody, an edit
// box's text set in code tells even when it is the same).
class Form1 final : private Form1Controls {
public:
    // A fixed frame with a close button only.
    static constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

    Form1() = default;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1();

    // Builds the window, hidden, centred on the work area, and loads it: the
    // first calculation has run on return. With `endsProgram`, closing the
    // window ends the thread's message loop.
    bool create(HINSTANCE instance, bool endsProgram = false);
    // Shows and paints it, then gives it what only input and screen readers
    // need (the lists' locks, the names, the tool tip) before any message.
    void show(int showCommand);

    // For the message loop, before translating: F1 and the dialog keys (Tab,
    // arrows within the mode buttons). True when the message is dealt with.
    bool preTranslateMessage(MSG& message);

    HWND hwnd() const { return m_hwnd; }
    // A control by its design name ("Text1", "Option1(2)"), or null.
    HWND control(std::string_view name) const;
    UINT dpi() const { return m_dpi; }
    int calculationRuns(core::CalcMode mode) const { return m_rules.calculationRuns(mode); }

private:
    struct FieldState {
        HWND hwnd = nullptr;
        bool locked = false;
        design::Rgb backColour = InputBackColour;
        std::wstring accepted;   // text boxes: the text the last change reported
        int acceptedIndex = -1;  // lists: the selection the last click reported
    };

    friend LRESULT CALLBACK win32::OwnedWindowProc<Form1>(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR field, DWORD_PTR self);
    static LRESULT CALLBACK optionProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR index, DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    // form1_win32_layout.cpp: the controls from the design table, placed and painted.
    void createControls(HINSTANCE instance);
    void completeControls();
    std::vector<HFONT> makeFonts(UINT dpi);
    static int windowHeight(ControlKind kind, const RECT& place);
    void fitControl(std::size_t index, const RECT& place, bool created);
    HFONT fittingFont(HFONT font, std::wstring_view caption, int room);
    UINT listItemHeight(UINT controlId, UINT item) const;
    void fitWindow();
    void setIcons();
    void applyLayout(UINT dpi);
    int captionRoom(ControlKind kind, int width) const;
    void fitListHeight(HWND list, int height, bool created);
    void drawItem(const DRAWITEMSTRUCT& item);
    HBRUSH fieldColours(HDC dc, HWND control);
    HBRUSH brush(design::Rgb colour);
    void releaseResources();

    // Events.
    void onCommand(HWND control, WORD code);
    void showWholeText(NMTTDISPINFOW& tip);
    void textEdited(Field field);
    void listChosen(Field field);
    void modeFollows(int index);

    // What the rules read and write.
    std::string text(Field textBox) const override;
    void setText(Field textBox, const std::string& text) override;
    std::int32_t itemData(Field list) const override;
    void setListIndex(Field list, int index) override;
    bool modeChosen(core::CalcMode mode) const override;
    void setLocked(Field control, bool locked) override;
    void setBackColor(Field control, design::Rgb colour) override;
    std::string decimalSeparator() const override { return m_decimalSeparator; }
    void showAboutModal() override;

    FieldState& state(Field field) { return m_fields[static_cast<std::size_t>(field)]; }
    const FieldState& state(Field field) const { return m_fields[static_cast<std::size_t>(field)]; }
    // The field a control shows, or -1.
    int fieldOf(HWND control) const;
    int optionOf(HWND control) const;
    bool isList(Field field) const { return field == Field::SizeUnit || field == Field::SpeedUnit; }

    HWND m_hwnd = nullptr;
    HINSTANCE m_instance = nullptr;
    bool m_endsProgram = false;
    UINT m_dpi = 96;
    SIZE m_windowSize{};
    std::array<HWND, Form1Design.size()> m_controls{};  // in the design table's order
    std::array<FieldState, 10> m_fields{};
    std::array<HWND, 3> m_options{};
    HWND m_image = nullptr;
    HWND m_toolTip = nullptr;
    std::wstring m_toolTipText;  // held while a text box's tip shows
    HWND m_lastFocus = nullptr;
    int m_mode = -1;

    // The control whose native notification of the adapter's own write is swallowed.
    HWND m_writing = nullptr;

    HFONT m_dialogFont = nullptr;
    HFONT m_smallFont = nullptr;
    // Condensed for captions too wide for their box, by the font they narrow.
    struct CondensedFont {
        HFONT base;
        LONG averageWidth;
        HFONT font;
    };
    std::vector<CondensedFont> m_condensedFonts;
    int m_listFrame = -1;   // a drop-down list's height beyond its field, once measured
    int m_textHeight = 13;  // of the dialog font
    HBITMAP m_logo = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    std::array<std::pair<COLORREF, HBRUSH>, 4> m_brushes{};

    AccessibleNames m_accessibleNames;
    std::string m_decimalSeparator = ".";
    Form1Rules m_rules{*this};
};

}  // namespace velmora::win32
