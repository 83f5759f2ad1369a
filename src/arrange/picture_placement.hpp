// Where and how big the pictures are drawn. Their coordinates were made for
// 32-pixel icons from the view's top-left corner; on a desktop with bigger
// icons they grow with the view's icon spacing, and they start at the
// top-left corner of the main screen's work area, clear of a taskbar on the
// left or at the top and of a screen to the left of or above the main one.
#pragma once

#include <cstdint>

#include "shell/window_system.hpp"

namespace corvella {

struct PicturePlacement {
  float scale = 1.0F;            // 1 to 5, in quarters
  WindowPoint origin;            // the work area's top-left corner in the view's client coordinates
  bool spacing_answered = true;  // false when the view did not say its spacing
};

// The view's answer to LVM_GETITEMSPACING (cy * 65536 + cx) as the
// pictures' scale: cx over 75, the spacing of 32-pixel icons at 96 dpi, to
// the nearest quarter, from 1 to 5. No answer (0) gives 1.
float ScaleForIconSpacing(std::uint32_t spacing);

// Asks the view for its icon spacing and maps the work area into it, each
// a step of its own: a spacing that cannot be read leaves the scale at 1, a
// work area that cannot be read leaves the screen's (0, 0) to be mapped,
// and a mapping that fails (no view) leaves the origin at (0, 0).
PicturePlacement MeasurePicturePlacement(WindowSystem& windows, WindowHandle view);

}  // namespace corvella
