// Counting and moving the items of the shell's desktop list view.
#include "arrange/desktop_arrangement.hpp"
#include "core/resume_next.hpp"
#include "shell/desktop_view.hpp"

namespace corvella {

bool DesktopArrangement::CountDesktopItems() {
  LocateDesktopView(windows_, hWndList);
  return ResumeNext([&] { lngCount = CountItems(windows_, hWndList); });
}

void DesktopArrangement::SetIconPosition(std::int32_t index, std::int32_t position) {
  MoveItem(windows_, hWndList, index, position);
}

}  // namespace corvella
