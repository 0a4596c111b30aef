#pragma once

#include <array>
#include <string_view>

#include "design/twips.h"

namespace velmora {

// The main window as designed, for every toolkit: each control's kind, place
// in twips, tab index and caption, in the order the window creates them.
enum class ControlKind { TextBox, List, Frame, Option, Label, Picture };
enum class Alignment { Left, Centre, Right };

struct ControlDesign {
    std::string_view name;
    ControlKind kind;
    design::TwipsRect place;  // within the window, or within Frame2 for the option buttons
    int tabIndex;             // -1: never takes the focus
    std::string_view caption;
    Alignment alignment = Alignment::Left;
    std::string_view accessibleName = {};  // what a screen reader says, where the caption won't do
};

// The design names of the fields the rules write, in the order of Field.
inline constexpr std::array<std::string_view, 10> FieldNames{
    "Text3(0)", "Text3(1)", "Text3(2)", "Text3(3)", "Text3(4)",
    "Text3(5)", "Text1",    "Text2",    "Combo1",   "Combo2"};

inline constexpr std::string_view Form1Caption = "Velmora";
inline constexpr int Form1ClientWidth = 4905;  // twips
inline constexpr int Form1ClientHeight = 2190;

inline constexpr std::string_view LogoToolTip = "Kestrane 2009";

// Option buttons sit in Frame2; every other control in the window.
// One control a line, as the tables are read.
// clang-format off
inline constexpr std::array<ControlDesign, 26> Form1Design{{
    {"Text3(2)", ControlKind::TextBox, {3600, 1440, 555, 285}, 19, "32", Alignment::Left, "Days"},
    {"Text3(1)", ControlKind::TextBox, {2400, 1440, 555, 285}, 18, "32", Alignment::Left, "Weeks"},
    {"Text3(0)", ControlKind::TextBox, {1320, 1440, 555, 285}, 17, "32", Alignment::Left, "Years"},
    {"Text3(5)", ControlKind::TextBox, {3600, 1740, 555, 285}, 13, "32", Alignment::Left, "Seconds"},
    {"Text3(4)", ControlKind::TextBox, {2400, 1740, 555, 285}, 12, "32", Alignment::Left, "Minutes"},
    {"Text3(3)", ControlKind::TextBox, {1320, 1740, 555, 285}, 10, "32", Alignment::Left, "Hours"},
    {"Frame2", ControlKind::Frame, {300, 120, 4035, 495}, 6, "Calculate:"},
    {"Option1(2)", ControlKind::Option, {2580, 240, 855, 195}, 9, "Data"},
    {"Option1(1)", ControlKind::Option, {1620, 240, 855, 195}, 8, "Speed"},
    {"Option1(0)", ControlKind::Option, {660, 240, 855, 195}, 7, "Time"},
    {"Combo2", ControlKind::List, {2520, 1065, 1815, 315}, 5, "", Alignment::Left, "Speed unit"},
    {"Text1", ControlKind::TextBox, {1320, 735, 1155, 285}, 1, "32", Alignment::Left, "Data size"},
    {"Combo1", ControlKind::List, {2520, 720, 1815, 315}, 3, "", Alignment::Left, "Data size unit"},
    {"Text2", ControlKind::TextBox, {1320, 1080, 1155, 285}, 2, "32", Alignment::Left,
     "Transfer speed"},
    {"Label11", ControlKind::Label, {300, 2055, 975, 135}, 24, "Presentation", Alignment::Centre},
    {"Label10", ControlKind::Label, {60, 1665, 195, 135}, 23, "A", Alignment::Centre},
    {"Image1", ControlKind::Picture, {60, 1800, 1050, 300}, -1, "", Alignment::Left,
     "Kestrane logo: opens the About box"},
    {"Label9", ControlKind::Label, {4200, 1500, 375, 195}, 22, "days"},
    {"Label8", ControlKind::Label, {3000, 1500, 555, 195}, 21, "Weeks"},
    {"Label7", ControlKind::Label, {1920, 1500, 435, 195}, 20, "Yearss."},
    {"Label6", ControlKind::Label, {4200, 1785, 615, 195}, 16, "seconds"},
    {"Label5", ControlKind::Label, {3000, 1785, 555, 195}, 15, "Minutes."},
    {"Label4", ControlKind::Label, {1920, 1785, 435, 195}, 14, "Hours"},
    {"Label3", ControlKind::Label, {120, 1455, 1155, 255}, 11, "Time:", Alignment::Right},
    {"Label1", ControlKind::Label, {120, 750, 1155, 255}, 4, "Data Size:", Alignment::Right},
    {"Label2", ControlKind::Label, {120, 1095, 1155, 255}, 0, "Transfer Speed:", Alignment::Right},
}};
// clang-format on

// The two small captions beside the logo take the small serif font and paint
// their own background, so "Presentation" reads where it covers the logo.
constexpr bool IsSmallCaption(std::string_view name) {
    return name == "Label10" || name == "Label11";
}

}  // namespace velmora
