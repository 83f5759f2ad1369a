// Counting and moving the items of the shell's desktop list view.
#include "arrange/desktop_arrangement.hpp"
#include "core/resume_next.hpp"
#include "core/runtime_error.hpp"
#include "shell/desktop_view.hpp"

namespace corvella {

bool DesktopArrangement::CountDesktopItems() {
  LocateDesktopView(windows_, hWndList);
  return ResumeNext([&] { lngCount = CountItems(windows_, hWndList); });
}

// A message to no view is not sent: it moves nothing. A move without an
// answer fails the statement as before; the picture only notes it.
void DesktopArrangement::SetIconPosition(std::int32_t index, std::int32_t position) {
  try {
    MoveItem(windows_, hWndList, index, position);
  } catch (const RuntimeError&) {
    cut_short_ = true;
    throw;
  }
  if (hWndList == 0) return;
  const auto packed = static_cast<std::uint32_t>(position);
  moves_sent_.push_back(
      ItemMove{index, static_cast<std::int16_t>(packed & 0xFFFFU), static_cast<std::int16_t>(packed >> 16)});
}

}  // namespace corvella
