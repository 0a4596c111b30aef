#pragma once

#include <array>
#include <string_view>

namespace velmora::design {

// A font by its faces, first that exists wins, and its size.
struct FontDesign {
    std::array<std::string_view, 2> faces;
    double pointSize;
};

// The layouts were drawn for the compact 8-point dialog font of Windows.
inline constexpr FontDesign WindowsDialogFont{{"MS Shell Dlg 2", ""}, 8};
// On Linux the narrow Liberation face, a little smaller, is the closest that
// shows every caption whole in its designed box.
inline constexpr FontDesign LinuxDialogFont{{"Liberation Sans Narrow", "Arial Narrow"}, 7.5};

// The two small captions beside the logo. Where "MS Serif" is missing, naming
// a serif face outright spares the font fallback search at start-up.
inline constexpr FontDesign WindowsSmallCaptionFont{{"MS Serif", ""}, 6};
inline constexpr FontDesign LinuxSmallCaptionFont{{"Liberation Serif", "DejaVu Serif"}, 6};

}  // namespace velmora::design
