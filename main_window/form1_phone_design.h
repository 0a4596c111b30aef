#pragma once

#include <array>
#include <string_view>

#include "main_window/form1_design.h"

namespace velmora {

// The same window arranged for a phone held upright: the designed rows kept
// top to bottom, each caption above what it names, so that fields wide and
// tall enough for a finger fit 320 pixels. Cells of a six-column grid;
// the option buttons take the three columns of Frame2's own grid.
struct PhoneCell {
    std::string_view name;
    int row;
    int column;
    int columnSpan = 1;
};

inline constexpr int Form1PhoneColumns = 6;

// One control a line, as the tables are read.
// clang-format off
inline constexpr std::array<PhoneCell, 26> Form1PhoneDesign{{
    {"Frame2", 1, 1, 6},
    {"Option1(0)", 1, 1},
    {"Option1(1)", 1, 2},
    {"Option1(2)", 1, 3},
    {"Label1", 2, 1, 6},
    {"Text1", 3, 1, 2},
    {"Combo1", 3, 3, 4},
    {"Label2", 4, 1, 6},
    {"Text2", 5, 1, 2},
    {"Combo2", 5, 3, 4},
    {"Label3", 6, 1, 6},
    {"Label7", 7, 1, 2},
    {"Label8", 7, 3, 2},
    {"Label9", 7, 5, 2},
    {"Text3(0)", 8, 1, 2},
    {"Text3(1)", 8, 3, 2},
    {"Text3(2)", 8, 5, 2},
    {"Label4", 9, 1, 2},
    {"Label5", 9, 3, 2},
    {"Label6", 9, 5, 2},
    {"Text3(3)", 10, 1, 2},
    {"Text3(4)", 10, 3, 2},
    {"Text3(5)", 10, 5, 2},
    {"Label10", 11, 1, 2},
    {"Image1", 12, 1, 2},
    {"Label11", 13, 1, 2},
}};
// clang-format on

// Every control has its one cell, and every cell its control.
constexpr bool EveryControlHasOnePhoneCell() {
    for (const ControlDesign& control : Form1Design) {
        int cells = 0;
        for (const PhoneCell& cell : Form1PhoneDesign)
            cells += cell.name == control.name ? 1 : 0;
        if (cells != 1)
            return false;
    }
    return Form1PhoneDesign.size() == Form1Design.size();
}
static_assert(EveryControlHasOnePhoneCell());

}  // namespace velmora
