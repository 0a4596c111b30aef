#pragma once

#include <array>
#include <string>
#include <string_view>

#include "design/colours.h"
#include "design/twips.h"

namespace velmora::about {

// The About box as designed, for every toolkit. Places are in twips within
// the box's client area.
inline constexpr std::string_view DesignCaption = "About MyApp";
inline constexpr int ClientWidth = 5730;
inline constexpr int ClientHeight = 3555;
// Not centred: the client area's corner sits here on the screen at every opening.
inline constexpr int ScreenLeft = 2340;
inline constexpr int ScreenTop = 1935;

inline constexpr std::string_view OkCaption = "OK";
inline constexpr design::TwipsRect OkButtonPlace{4245, 2625, 1260, 825};
// The logo at its natural size inside a 2-pixel sunken border.
inline constexpr design::TwipsRect LogoPlace{960, 0, 3810, 1560};
inline constexpr int PictureBorderPixels = 2;
inline constexpr std::string_view LogoAccessibleName = "Kestrane logo";

// The labels, in tab order after the button and the logo. Black text where
// the design asks for it; the version keeps the default colour.
struct LabelDesign {
    std::string_view name;
    design::TwipsRect place;
    std::string_view caption;
    bool black;
};

inline constexpr std::string_view Description =
    "Velmora calculates the transfer speed, the data size or the time of a data transfer "
    "from the other two.";
inline constexpr std::string_view Disclaimer =
    "Warning: this program is protected by copyright law. Copying or distributing it, or any "
    "part of it, without the permission of Kestrane is prohibited.";

inline constexpr std::array<LabelDesign, 4> Labels{{
    {"lblDescription", {60, 2040, 5595, 390}, Description, true},
    {"lblDisclaimer", {255, 2625, 3870, 825}, Disclaimer, true},
    {"lblTitle", {60, 1560, 4725, 240}, "Application Title", true},
    {"lblVersion", {480, 1800, 4305, 225}, "Version", false},
}};

// The engraved rule: a grey stroke with a white one a pixel below and right.
struct RuleDesign {
    std::string_view name;
    int x1, y1, x2;  // twips
    design::Rgb colour;
    int widthPixels;
};

inline constexpr std::array<RuleDesign, 2> Rule{{
    {"Line1(1)", 90, 2445, 5654, {128, 128, 128}, 1},
    {"Line1(0)", 105, 2460, 5654, {255, 255, 255}, 2},
}};

// On a phone the box is one column, top to bottom in this order.
inline constexpr std::array<std::string_view, 8> PhoneOrder{
    "picIcon",  "lblTitle", "lblVersion",    "lblDescription",
    "Line1(1)", "Line1(0)", "lblDisclaimer", "cmdOK"};

// What the box's load writes over the design texts.
struct LoadedCaptions {
    std::string window;   // "About Velmora"
    std::string version;  // "Version 1.0.2"
    std::string title;    // "Velmora"
};

LoadedCaptions CaptionsOnLoad();

}  // namespace velmora::about
