#pragma once

class QWidget;

namespace velmora {

// Keeps a fixed-size top-level window at its size when it is asked to
// maximise or go full screen, on every platform, without ending the program
// on Wayland. Call once, after setFixedSize and before the window is shown.
void keepFixedSize(QWidget* window);

}  // namespace velmora
