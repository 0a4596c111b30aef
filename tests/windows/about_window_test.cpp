#include "tests/windows/window_fixture.h"

#include <oleacc.h>

#include <vector>

#include "about/about_design.h"

namespace velmora::win32::testing {
namespace {

// The box's controls in tab order: OK, the logo, then the labels as designed.
std::vector<HWND> parts(HWND box) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        found.push_back(child);
    return found;
}

// What the box's own loop does with what is waiting.
void PumpBox(HWND box) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        if (!IsDialogMessageW(box, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
}

class AboutBox : public Form1Window {
public:
    // Opens the box over the calculator, runs `step` inside its loop, and
    // answers whether OK closed it.
    bool visit(const std::function<void(HWND)>& step) {
        bool pressedOk = false;
        const AboutVisit seen =
            WithAboutOpen([&] { pressedOk = ShowAboutModal(form.hwnd()); }, step);
        EXPECT_TRUE(seen.opened);
        EXPECT_FALSE(seen.leftOpen);
        pump();
        return pressedOk;
    }

    struct Snapshot {
        std::string dataSize, speed;
        std::array<std::string, 6> time;
        int sizeUnit, speedUnit;
        bool speedMode;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const {
        return {text("Text1"),  text("Text2"),  timeTexts(),
                unit("Combo1"), unit("Combo2"), checked(1)};
    }
};

TEST_F(AboutBox, ShowsTheTitleAndVersionBuiltAtLoadOverAnOwnedDialogFrame) {
    visit([this](HWND box) {
        EXPECT_EQ(Narrow(WindowText(box)), "About Velmora");
        const std::vector<HWND> controls = parts(box);
        ASSERT_EQ(controls.size(), 2 + about::Labels.size());
        EXPECT_EQ(Narrow(WindowText(controls[0])), "OK");
        EXPECT_TRUE(GetWindowLongW(controls[0], GWL_STYLE) & BS_DEFPUSHBUTTON);
        EXPECT_EQ(Narrow(WindowText(controls[4])), "Velmora");        // lblTitle
        EXPECT_EQ(Narrow(WindowText(controls[5])), "Version 1.0.2");  // lblVersion
        EXPECT_EQ(Narrow(WindowText(controls[2])), about::Description);

        EXPECT_EQ(GetWindow(box, GW_OWNER), form.hwnd());
        const LONG style = GetWindowLongW(box, GWL_STYLE);
        const LONG exStyle = GetWindowLongW(box, GWL_EXSTYLE);
        EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
        EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);  // no task bar button
        EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME));
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_NE(SendMessageW(box, WM_GETICON, ICON_SMALL, 0), 0);
        EXPECT_NE(SendMessageW(box, WM_GETICON, ICON_SMALL, 0),
                  SendMessageW(form.hwnd(), WM_GETICON, ICON_SMALL, 0));
        EXPECT_FALSE(IsWindowEnabled(form.hwnd()));

        IAccessible* logo = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(controls[1], static_cast<DWORD>(OBJID_CLIENT),
                                             IID_IAccessible, reinterpret_cast<void**>(&logo)),
                  S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        EXPECT_EQ(logo->get_accName(self, &name), S_OK);
        logo->Release();
        EXPECT_EQ(Narrow(name ? name : L""), about::LogoAccessibleName);
        SysFreeString(name);
        PostMessageW(box, WM_CLOSE, 0, 0);
    });
}

TEST_F(AboutBox, StandsAtItsDesignedPlacesWithTheRuleEngraved) {
    visit([this](HWND box) {
        const UINT dpi = form.dpi();
        POINT origin{};
        ClientToScreen(box, &origin);
        RECT client{};
        GetClientRect(box, &client);
        const RECT expected = ToRect(
            {about::ScreenLeft, about::ScreenTop, about::ClientWidth, about::ClientHeight}, dpi);
        EXPECT_EQ(origin.x, expected.left);
        EXPECT_EQ(origin.y, expected.top);
        EXPECT_EQ(client.right, expected.right - expected.left);
        EXPECT_EQ(client.bottom, expected.bottom - expected.top);

        const std::vector<HWND> controls = parts(box);
        std::vector<design::TwipsRect> places{about::OkButtonPlace, about::LogoPlace};
        for (const about::LabelDesign& label : about::Labels)
            places.push_back(label.place);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            RECT actual{};
            GetWindowRect(controls[i], &actual);
            MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&actual), 2);
            const RECT designed = ToRect(places[i], dpi);
            EXPECT_TRUE(EqualRect(&actual, &designed)) << i;
        }
        // The logo at its natural size inside its two-pixel sunken border.
        RECT inside{};
        GetClientRect(controls[1], &inside);
        EXPECT_EQ(inside.right, ScalePixels(250, dpi));
        EXPECT_EQ(inside.bottom, ScalePixels(100, dpi));
        EXPECT_TRUE(GetWindowLongW(controls[1], GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

        // Every label's text whole in its box, wrapped at words.
        for (std::size_t i = 2; i < controls.size(); ++i) {
            const auto font = reinterpret_cast<HFONT>(SendMessageW(controls[i], WM_GETFONT, 0, 0));
            RECT box{};
            GetClientRect(controls[i], &box);
            RECT needed = box;
            const HDC dc = GetDC(controls[i]);
            const HGDIOBJ old = SelectObject(dc, font);
            const std::wstring caption = WindowText(controls[i]);
            DrawTextW(dc, caption.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            SelectObject(dc, old);
            ReleaseDC(controls[i], dc);
            EXPECT_LE(needed.bottom, box.bottom) << Narrow(caption);
            EXPECT_LE(needed.right, box.right) << Narrow(caption);
        }

        // Grey over white.
        UpdateWindow(box);
        const HDC dc = GetDC(box);
        const int x = ScalePixels(100, dpi);
        const int grey = design::TwipsToPixels(about::Rule[0].y1, static_cast<int>(dpi));
        const int white = design::TwipsToPixels(about::Rule[1].y1, static_cast<int>(dpi));
        EXPECT_EQ(GetPixel(dc, x, grey), RGB(128, 128, 128));
        EXPECT_EQ(GetPixel(dc, x, white), RGB(255, 255, 255));
        EXPECT_EQ(GetPixel(dc, x, white + ScalePixels(2, dpi) - 1), RGB(255, 255, 255));
        ReleaseDC(box, dc);
        PostMessageW(box, WM_CLOSE, 0, 0);
    });
}

TEST_F(AboutBox, FocusStartsOnOkAndTabsToTheLogoOnly) {
    visit([](HWND box) {
        const std::vector<HWND> controls = parts(box);
        EXPECT_EQ(GetFocus(), controls[0]);
        for (const HWND expected : {controls[1], controls[0], controls[1], controls[0]}) {
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
            PumpBox(box);
            EXPECT_EQ(GetFocus(), expected);
        }
        // Clicks on the logo and the labels leave it open.
        for (std::size_t i = 1; i < controls.size(); ++i)
            PostClick(controls[i], {2, 2});
        PumpBox(box);
        EXPECT_TRUE(IsWindowVisible(box));
        // Enter on the logo presses OK, the default button.
        SetFocus(controls[1]);
        PostMessageW(controls[1], WM_KEYDOWN, VK_RETURN, 1);
    });
}

TEST_F(AboutBox, EveryWayOfClosingLeavesTheWindowAsItWas) {
    chooseMode(2);
    typeTime({"", "", "", "1.5", "", ""});
    focus("Text2");
    const Snapshot before = snapshot();
    const int calculations = allRuns();

    const struct {
        const char* how;
        std::function<void(HWND)> close;
        bool pressesOk;
    } ways[] = {
        {"Esc", [](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }, true},
        {"Enter", [](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); }, true},
        {"OK",
         [](HWND box) {
             PostClick(parts(box)[0], {5, 5});
         },
         true},
        {"close box", [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        EXPECT_EQ(visit(way.close), way.pressesOk);
        EXPECT_TRUE(IsWindowEnabled(form.hwnd()));
        EXPECT_TRUE(snapshot() == before);
        EXPECT_EQ(GetFocus(), control("Text2"));
    }
    EXPECT_EQ(allRuns(), calculations);
    // And the window takes input again.
    typeInto("Text2", "2");
    EXPECT_EQ(text("Text1"), "10.55");
}

// Through the system's input, where a disabled window gets nothing.
TEST_F(AboutBox, MainWindowTakesNoInputWhileOpen) {
    RECT speed{};
    GetWindowRect(option(1), &speed);
    const auto clickSpeed = [&] {
        SetCursorPos(speed.left + ScalePixels(6, form.dpi()), (speed.top + speed.bottom) / 2);
        INPUT clicks[2]{};
        clicks[0].type = clicks[1].type = INPUT_MOUSE;
        clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, clicks, sizeof(INPUT));
    };
    visit([&](HWND box) {
        clickSpeed();
        PumpBox(box);
        Sleep(100);
        PumpBox(box);
        EXPECT_FALSE(checked(1));
        PostMessageW(box, WM_CLOSE, 0, 0);
    });
    EXPECT_FALSE(checked(1));
    // The same click, once the box is closed, does reach the window.
    clickSpeed();
    for (int i = 0; i < 20 && !checked(1); ++i) {
        Sleep(20);
        pump();
    }
    EXPECT_TRUE(checked(1));
}

}  // namespace
}  // namespace velmora::win32::testing
