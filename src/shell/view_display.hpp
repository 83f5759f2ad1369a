// What the desktop view is shown on, measured in the view's own client
// coordinates: its size, its icon spacing, where the main screen's work
// area begins (as the pictures measure it) and every monitor's work area.
#pragma once

#include <vector>

#include "shell/window_system.hpp"

namespace corvella {

struct ViewDisplay {
  WindowSize client;
  WindowSize spacing;  // the icon view's, cx by cy; 0 where the view gave none
  WindowPoint work_area_origin;
  std::vector<WindowRect> work_areas;
};

// Raises a RuntimeError when any part cannot be read: the view does not
// answer or is gone, or the screens cannot be read.
ViewDisplay MeasureViewDisplay(WindowSystem& windows, WindowHandle view);

}  // namespace corvella
