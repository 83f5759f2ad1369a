// Counting and moving the items of the shell's desktop list view.
#include "arrange/desktop_arrangement.hpp"
#include "core/resume_next.hpp"
#include "shell/desktop_view.hpp"

namespace corvella {

void DesktopArrangement::CountDesktopItems() {
  LocateDesktopView(windows_, hWndList);
  ResumeNext([&] { lngCount = windows_.SendWindowMessage(hWndList, list_view::kGetItemCount, 0, 0); });
}

void DesktopArrangement::SetIconPosition(std::int32_t index, std::int32_t position) {
  windows_.SendWindowMessage(hWndList, list_view::kSetItemPosition, static_cast<std::uint32_t>(index), position);
}

}  // namespace corvella
