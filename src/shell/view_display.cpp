#include "shell/view_display.hpp"

#include <cstdint>

#include "shell/desktop_view.hpp"

namespace corvella {

ViewDisplay MeasureViewDisplay(WindowSystem& windows, WindowHandle view) {
  ViewDisplay display;
  display.client = windows.ClientSize(view);
  const auto spacing = static_cast<std::uint32_t>(ReadIconSpacing(windows, view));
  display.spacing = WindowSize{static_cast<std::int32_t>(spacing & 0xFFFFU), static_cast<std::int32_t>(spacing >> 16)};
  display.work_area_origin = windows.ScreenToClient(view, windows.PrimaryWorkAreaOrigin());
  for (const WindowRect& area : windows.MonitorWorkAreas()) {
    const WindowPoint top_left = windows.ScreenToClient(view, WindowPoint{area.left, area.top});
    const WindowPoint bottom_right = windows.ScreenToClient(view, WindowPoint{area.right, area.bottom});
    display.work_areas.push_back(WindowRect{top_left.x, top_left.y, bottom_right.x, bottom_right.y});
  }
  return display;
}

}  // namespace corvella
