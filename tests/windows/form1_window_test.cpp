#include "tests/windows/window_fixture.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>

#include "core/units.h"

namespace velmora::win32::testing {
namespace {

using core::CalcMode;
using Times = std::array<std::string, 6>;

constexpr COLORREF Pink = RGB(ResultBackColour.red, ResultBackColour.green, ResultBackColour.blue);
constexpr COLORREF White = RGB(InputBackColour.red, InputBackColour.green, InputBackColour.blue);

TEST_F(Form1Window, StartsCalculatedWithTheFocusInTheDataSize) {
    EXPECT_EQ(Narrow(WindowText(form.hwnd())), "Velmora");
    EXPECT_EQ(text("Text1"), "32");
    EXPECT_EQ(text("Text2"), "32");
    EXPECT_EQ(unit("Combo1"), 0);
    EXPECT_EQ(unit("Combo2"), 0);
    EXPECT_EQ(timeTexts(), (Times{"0", "0", "0", "0", "0", "1"}));
    EXPECT_TRUE(checked(0));
    EXPECT_FALSE(checked(1) || checked(2));
    // The two unit selections at load calculate nothing.
    EXPECT_EQ(runs(CalcMode::Time), 1);
    EXPECT_EQ(allRuns(), 1);
    EXPECT_EQ(GetFocus(), control("Text1"));
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
}

TEST_F(Form1Window, ListsHoldTheUnitsWithTheirMultipliers) {
    const auto check = [this](std::string_view name, const auto& units) {
        const HWND list = control(name);
        EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
        ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(units.size()));
        for (std::size_t i = 0; i < units.size(); ++i) {
            wchar_t item[64]{};
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            EXPECT_EQ(Narrow(item), units[i].text);
            EXPECT_EQ(SendMessageW(list, CB_GETITEMDATA, i, 0), units[i].multiplier);
        }
    };
    check("Combo1", core::DataSizeUnits);
    check("Combo2", core::SpeedUnits);
}

// Which fields are results in each mode: read-only and pink, the rest open
// and white, as painted.
TEST_F(Form1Window, EachModeLocksAndColoursItsResultFields) {
    const struct {
        int mode;
        bool time, data, speed;
    } rows[] = {{1, false, false, true}, {2, false, true, false}, {0, true, false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        chooseMode(row.mode);
        ASSERT_TRUE(checked(row.mode));
        const auto colour = [](bool result) { return result ? Pink : White; };
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(readOnly(timeName(i)), row.time) << i;
            EXPECT_GT(ShareOfColour(control(timeName(i)), colour(row.time)), 0.5) << i;
        }
        EXPECT_EQ(readOnly("Text1"), row.data);
        EXPECT_EQ(readOnly("Text2"), row.speed);
        EXPECT_GT(ShareOfColour(control("Text1"), colour(row.data)), 0.5);
        EXPECT_GT(ShareOfColour(control("Text2"), colour(row.speed)), 0.5);
        // The lists follow their text boxes.
        EXPECT_GT(ShareOfColour(control("Combo1"), colour(row.data)), 0.4);
        EXPECT_GT(ShareOfColour(control("Combo2"), colour(row.speed)), 0.4);
    }
}

TEST_F(Form1Window, ChangingModeWritesNoTextAndNoUnit) {
    typeInto("Text1", "1");
    chooseUnit("Combo1", 2);
    const Times before = timeTexts();
    const int calculations = allRuns();
    for (const int mode : {1, 2, 2, 0, 0})
        chooseMode(mode);
    EXPECT_EQ(allRuns(), calculations);
    EXPECT_EQ(timeTexts(), before);
    EXPECT_EQ(text("Text1"), "1");
    EXPECT_EQ(text("Text2"), "32");
    EXPECT_EQ(unit("Combo1"), 2);
}

TEST_F(Form1Window, TimeFollowsEveryKeystrokeAndUnit) {
    chooseUnit("Combo1", 2);
    typeInto("Text2", "1");
    typeInto("Text1", "100");
    EXPECT_EQ(timeTexts(), (Times{"3", "16", "6", "15", "6", "40"}));
    chooseUnit("Combo2", 1);  // MegaBytes/second
    EXPECT_EQ(timeTexts(), (Times{"0", "0", "1", "4", "26", "40"}));
    typeInto("Text2", "0");  // no time for a zero speed: the fields keep theirs
    EXPECT_EQ(timeTexts(), (Times{"0", "0", "1", "4", "26", "40"}));
}

TEST_F(Form1Window, SpeedModeChoosesItsOwnUnit) {
    chooseMode(1);
    typeTime({"", "", "", "", "", "1"});
    chooseUnit("Combo1", 3);  // Bytes
    typeInto("Text1", "1048575");
    EXPECT_EQ(text("Text2"), "1024");
    EXPECT_EQ(unit("Combo2"), 0);
    typeInto("Text1", "1048576");
    EXPECT_EQ(text("Text2"), "1");
    EXPECT_EQ(unit("Combo2"), 1);
}

TEST_F(Form1Window, DataModeChoosesItsOwnUnit) {
    chooseMode(2);
    typeTime({"", "", "", "1.5", "", ""});
    typeInto("Text2", "1");
    EXPECT_EQ(text("Text1"), "5.27");
    EXPECT_EQ(unit("Combo1"), 1);  // MegaBytes
}

// An edit that moves the result's unit calculates once more, nested in the
// unit's click; one that keeps it calculates once.
TEST_F(Form1Window, UnitMoveNestsExactlyOneMoreCalculation) {
    const struct {
        int mode;
        const char *input, *inputUnit, *result, *resultUnit;
    } rows[] = {
        {1, "Text1", "Combo1", "Text2", "Combo2"},
        {2, "Text2", "Combo2", "Text1", "Combo1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        const auto mode = static_cast<CalcMode>(row.mode);
        chooseMode(row.mode);
        typeTime({"", "", "", "", "", "1"});
        chooseUnit(row.inputUnit, 0);
        typeInto(row.input, "1");
        ASSERT_EQ(unit(row.resultUnit), 0);

        int before = runs(mode);
        typeInto(row.input, "2");  // "1" to "2": one keystroke, same unit
        EXPECT_EQ(runs(mode) - before, 1);
        EXPECT_EQ(unit(row.resultUnit), 0);

        typeInto(row.input, "204");
        before = runs(mode);
        PostMessageW(control(row.input), WM_CHAR, '8', 1);  // 2048: the unit moves up
        pump();
        EXPECT_EQ(runs(mode) - before, 2);
        EXPECT_EQ(unit(row.resultUnit), 1);
        EXPECT_EQ(text(row.result), "2");
    }
}

// Results are written six times over on each time calculation and start
// nothing; a time field typed into in Speed mode starts one calculation.
TEST_F(Form1Window, ResultFieldsNeverStartACalculation) {
    typeInto("Text1", "5");
    EXPECT_EQ(runs(CalcMode::Time), 2);
    chooseMode(1);
    const int speedRuns = runs(CalcMode::Speed);
    typeInto("Text3(5)", "2");
    EXPECT_EQ(runs(CalcMode::Speed), speedRuns + 1);
    EXPECT_EQ(runs(CalcMode::Time), 2);
    EXPECT_EQ(runs(CalcMode::Data), 0);
}

TEST_F(Form1Window, LockedFieldsRefuseTypingPastingAndOutsideWrites) {
    typeInto("Text3(0)", "9");
    EXPECT_EQ(text("Text3(0)"), "0");
    chooseMode(2);
    const std::string data = text("Text1");
    typeInto("Text1", "9");
    PostMessageW(control("Text1"), WM_PASTE, 0, 0);
    pump();
    EXPECT_EQ(text("Text1"), data);
    // Another program's write to a result is put back.
    SendMessageW(control("Text1"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"77"));
    EXPECT_EQ(text("Text1"), data);
}

TEST_F(Form1Window, LockedListRefusesKeysWheelMouseAndDropDown) {
    chooseMode(1);
    const HWND list = control("Combo2");
    const int index = unit("Combo2");
    focus("Combo2");
    for (const UINT key : {VK_DOWN, VK_UP, VK_END, VK_HOME, VK_NEXT, VK_F4})
        press(key);
    PostMessageW(list, WM_CHAR, 'M', 1);
    PostMessageW(list, WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
    for (const int delta : {-WHEEL_DELTA, WHEEL_DELTA, -WHEEL_DELTA})
        PostMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
    pump();
    EXPECT_EQ(unit("Combo2"), index);
    SetFocus(control("Text1"));
    PostClick(list, {10, 10});
    pump();
    EXPECT_FALSE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetFocus(), list);  // it still takes the focus
    EXPECT_EQ(unit("Combo2"), index);

    // Unlocked again in Time mode, it answers the keyboard.
    chooseMode(0);
    chooseUnit("Combo2", 1);
    EXPECT_EQ(unit("Combo2"), 1);
}

TEST_F(Form1Window, AltF4ClosesTheWindowFromAUnitList) {
    focus("Combo1");
    PostMessageW(control("Combo1"), WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));
    pump();
    EXPECT_FALSE(IsWindow(form.hwnd()));
}

TEST_F(Form1Window, TabVisitsTheFieldsInDesignedOrder) {
    const char* order[] = {"Text2",    "Combo1",   "Combo2",   "Option1(0)", "Text3(3)", "Text3(4)",
                           "Text3(5)", "Text3(0)", "Text3(1)", "Text3(2)",   "Text1"};
    for (const char* expected : order) {
        press(VK_TAB);
        EXPECT_EQ(GetFocus(), control(expected)) << expected;
    }
    // The checked button is the one the focus visits.
    chooseMode(1);
    focus("Combo2");
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), option(1));
}

// The arrows move within the mode buttons and choose as they go; the mode
// follows however the button became checked.
TEST_F(Form1Window, KeyboardAndOtherProgramsChooseTheModeWithItsLocks) {
    focus("Option1(0)");
    press(VK_RIGHT);
    EXPECT_EQ(GetFocus(), option(1));
    EXPECT_TRUE(checked(1));
    EXPECT_TRUE(readOnly("Text2"));
    EXPECT_FALSE(readOnly("Text3(0)"));
    press(VK_RIGHT);
    EXPECT_TRUE(checked(2));
    EXPECT_TRUE(readOnly("Text1"));
    EXPECT_FALSE(readOnly("Text2"));

    const int first = GetDlgCtrlID(option(0)), last = GetDlgCtrlID(option(2));
    CheckRadioButton(form.hwnd(), std::min(first, last), std::max(first, last), first);
    pump();
    EXPECT_TRUE(readOnly("Text3(0)"));
    EXPECT_FALSE(readOnly("Text1"));
}

TEST_F(Form1Window, MaximisingSizingOrMinimisingLeavesTheWindowAsItIs) {
    RECT before{};
    GetWindowRect(form.hwnd(), &before);
    SendMessageW(form.hwnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    pump();
    ShowWindow(form.hwnd(), SW_MAXIMIZE);
    pump();
    SetWindowPos(form.hwnd(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    pump();
    RECT after{};
    GetWindowRect(form.hwnd(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    // Where a restored window goes is the window manager's choice; its size is not.
    ShowWindow(form.hwnd(), SW_MINIMIZE);
    pump();
    ShowWindow(form.hwnd(), SW_RESTORE);
    pump();
    GetWindowRect(form.hwnd(), &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_FALSE(IsIconic(form.hwnd()) || IsZoomed(form.hwnd()));
    const LONG style = GetWindowLongW(form.hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(style & WS_SYSMENU);
}

TEST_F(Form1Window, EveryControlStandsAtItsDesignedPlaceAtTheDisplaysResolution) {
    const auto expectDesigned = [this](UINT dpi) {
        RECT client{};
        GetClientRect(form.hwnd(), &client);
        EXPECT_EQ(client.right, design::TwipsToPixels(Form1ClientWidth, static_cast<int>(dpi)));
        EXPECT_EQ(client.bottom, design::TwipsToPixels(Form1ClientHeight, static_cast<int>(dpi)));
        const design::TwipsRect frame = Form1Design[6].place;
        for (const ControlDesign& design : Form1Design) {
            SCOPED_TRACE(design.name);
            design::TwipsRect place = design.place;
            if (design.kind == ControlKind::Option) {
                place.left += frame.left;
                place.top += frame.top;
            }
            const RECT expected = ToRect(place, dpi);
            RECT actual{};
            GetWindowRect(control(design.name), &actual);
            MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_TRUE(EqualRect(&actual, &expected))
                << actual.left << "," << actual.top << " " << actual.right - actual.left << "x"
                << actual.bottom - actual.top;
        }
    };
    ASSERT_EQ(Form1Design[6].name, "Frame2");
    expectDesigned(form.dpi());
    // Moved to a display of twice the resolution, it lays itself out again.
    RECT suggested{};
    GetWindowRect(form.hwnd(), &suggested);
    SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
    pump();
    EXPECT_EQ(form.dpi(), 192u);
    expectDesigned(192);
}

// Each caption shows whole in its box; the two beside the logo are small and serif.
TEST_F(Form1Window, CaptionsReadAsDesignedAndFitTheirControls) {
    for (const ControlDesign& design : Form1Design) {
        if (design.caption.empty() || design.kind == ControlKind::TextBox)
            continue;
        SCOPED_TRACE(design.name);
        const HWND window = control(design.name);
        EXPECT_EQ(Narrow(WindowText(window)), design.caption);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        RECT box{};
        GetClientRect(window, &box);
        int room = box.right;
        if (design.kind == ControlKind::Option)
            room -= SystemMetric(SM_CXMENUCHECK, form.dpi());
        const SIZE needed = TextExtent(font, Widen(design.caption));
        EXPECT_LE(needed.cx, room);
        EXPECT_LE(needed.cy, box.bottom);
        LOGFONTW face{};
        GetObjectW(font, sizeof face, &face);
        if (IsSmallCaption(design.name)) {
            EXPECT_EQ(face.lfPitchAndFamily & 0xF0, FF_ROMAN);
            EXPECT_EQ(-face.lfHeight, MulDiv(6, static_cast<int>(form.dpi()), 72));
        } else {
            EXPECT_EQ(-face.lfHeight, MulDiv(8, static_cast<int>(form.dpi()), 72));
        }
    }
    const auto alignment = [this](const char* name) {
        return GetWindowLongW(control(name), GWL_STYLE) & SS_TYPEMASK;
    };
    EXPECT_EQ(alignment("Label2"), SS_RIGHT);
    EXPECT_EQ(alignment("Label11"), SS_CENTER);
    EXPECT_EQ(alignment("Label4"), SS_LEFT);
}

TEST_F(Form1Window, LogoShowsItsToolTipAndNameAndOpensTheAboutBox) {
    const HWND logo = control("Image1");
    HWND tips = nullptr;
    while ((tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)))
        if (GetWindow(tips, GW_OWNER) == form.hwnd())
            break;
    ASSERT_NE(tips, nullptr);
    wchar_t tip[64]{};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = form.hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(logo);
    tool.lpszText = tip;
    SendMessageW(tips, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(Narrow(tip), "Kestrane 2009");
    EXPECT_TRUE(GetWindowLongW(logo, GWL_STYLE) & SS_NOTIFY);

    // The logo's black ground, shrunk to the box.
    EXPECT_GT(ShareOfColour(logo, RGB(0, 0, 0)), 0.2);

    RECT box{};
    GetClientRect(logo, &box);
    bool disabledWhileOpen = false;
    const AboutVisit visit = WithAboutOpen(
        [&] {
            PostClick(logo, {box.right / 2, box.bottom / 2});
            pump();
        },
        [&](HWND about) {
            disabledWhileOpen = !IsWindowEnabled(form.hwnd());
            EXPECT_EQ(GetWindow(about, GW_OWNER), form.hwnd());
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        });
    EXPECT_TRUE(visit.opened);
    EXPECT_FALSE(visit.leftOpen);
    EXPECT_TRUE(disabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(form.hwnd()));
}

// The tip the system shows as the mouse rests on a box: the whole text where
// the box clips it, none where it fits.
TEST_F(Form1Window, ClippedResultShowsWholeAsToolTip) {
    chooseMode(2);
    typeInto("Text2", "1E25");
    typeInto("Text3(5)", "3");
    HWND tips = nullptr;
    while ((tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)))
        if (GetWindow(tips, GW_OWNER) == form.hwnd())
            break;
    ASSERT_NE(tips, nullptr);
    const auto tip = [&](std::string_view name) {
        NMTTDISPINFOW info{};
        info.hdr = {tips, reinterpret_cast<UINT_PTR>(control(name)), TTN_GETDISPINFOW};
        SendMessageW(form.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info.lpszText ? Narrow(info.lpszText) : std::string();
    };
    ASSERT_EQ(text("Text1"), "2.86102294921875E+19");
    EXPECT_EQ(tip("Text1"), "2.86102294921875E+19");
    EXPECT_EQ(tip("Text3(5)"), "");
}

TEST_F(Form1Window, F1OpensTheAboutBoxFromAnyField) {
    focus("Text2");
    const AboutVisit visit = WithAboutOpen([&] { press(VK_F1); },
                                           [](HWND about) { PostMessageW(about, WM_CLOSE, 0, 0); });
    EXPECT_TRUE(visit.opened);
    pump();
    // The focus comes back where it was.
    EXPECT_EQ(GetFocus(), control("Text2"));
}

// Whether the system keeps names given to windows; Wine does not.
bool KeepsAnnotations() {
    IAccPropServices* services = nullptr;
    const CLSID propServices = {
        0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
    if (FAILED(CoCreateInstance(propServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&services))))
        return false;
    const HWND scratch = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         nullptr, nullptr);
    wchar_t name[] = L"name";
    const bool kept = SUCCEEDED(services->SetHwndPropStr(scratch, static_cast<DWORD>(OBJID_CLIENT),
                                                         CHILDID_SELF, PROPID_ACC_NAME, name));
    DestroyWindow(scratch);
    services->Release();
    return kept;
}

// Screen readers hear each field and the logo by the design's names: text
// boxes and the logo everywhere, the lists where the system keeps names.
TEST_F(Form1Window, FieldsCarryTheirAccessibleNames) {
    const bool annotations = KeepsAnnotations();
    for (const ControlDesign& design : Form1Design) {
        if (design.accessibleName.empty() || (design.kind == ControlKind::List && !annotations))
            continue;
        SCOPED_TRACE(design.name);
        IAccessible* accessible = nullptr;
        ASSERT_EQ(
            AccessibleObjectFromWindow(control(design.name), static_cast<DWORD>(OBJID_CLIENT),
                                       IID_IAccessible, reinterpret_cast<void**>(&accessible)),
            S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        EXPECT_EQ(accessible->get_accName(self, &name), S_OK);
        accessible->Release();
        EXPECT_EQ(Narrow(name ? name : L""), design.accessibleName);
        SysFreeString(name);
    }
}

// A screen reader hears what each list is for and the unit it shows, and
// that the result's list is read-only.
TEST_F(Form1Window, ListsTellTheirPurposeUnitAndLock) {
    chooseMode(2);
    chooseUnit("Combo2", 1);
    const struct {
        const char* list;
        const char* purpose;
        const char* unit;
        bool locked;
    } rows[] = {{"Combo1", "Data size unit", "MegaBytes", true},
                {"Combo2", "Speed unit", "MegaBytes/second", false}};
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.list);
        IAccessible* list = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(control(row.list), static_cast<DWORD>(OBJID_CLIENT),
                                             IID_IAccessible, reinterpret_cast<void**>(&list)),
                  S_OK);
        BSTR name = nullptr, value = nullptr;
        VARIANT role{}, state{};
        EXPECT_EQ(list->get_accName(self, &name), S_OK);
        EXPECT_EQ(list->get_accValue(self, &value), S_OK);
        EXPECT_EQ(list->get_accRole(self, &role), S_OK);
        EXPECT_EQ(list->get_accState(self, &state), S_OK);
        list->Release();
        EXPECT_EQ(Narrow(name ? name : L""), row.purpose);
        EXPECT_EQ(Narrow(value ? value : L""), row.unit);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_COMBOBOX);
        EXPECT_EQ((state.lVal & STATE_SYSTEM_READONLY) != 0, row.locked);
        SysFreeString(name);
        SysFreeString(value);
    }
}

// Where decimals are written with a comma, a result reads back whole.
class Form1CommaWindow : public Form1Window {
public:
    void SetUp() override {
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, m_saved, 8);
        ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L","));
        Form1Window::SetUp();
    }
    void TearDown() override { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, m_saved); }

private:
    wchar_t m_saved[8]{};
};

TEST_F(Form1CommaWindow, ResultsReadBackWhole) {
    chooseMode(2);
    typeTime({"", "", "", "1,5", "", ""});  // the user's own separator reads too
    typeInto("Text2", "1");
    EXPECT_EQ(text("Text1"), "5,27");
    chooseMode(0);
    typeInto("Text2", "2");
    EXPECT_EQ(text("Text3(4)"), "44");
    EXPECT_EQ(text("Text3(5)"), "58,24");  // 5.27 MegaBytes, not 5
}

}  // namespace
}  // namespace velmora::win32::testing
