// Finding the shell's desktop list view by its class-name chain, and asking
// it whether it still arranges its items by itself.
#pragma once

#include "shell/window_system.hpp"

namespace corvella {

// The lookups of the desktop view (progman > shelldll_defview >
// syslistview32, or a WorkerW's view on current Windows), each a step of its
// own under the resume-next policy: every lookup overwrites `view`, so it
// ends as the last lookup left it, 0 when that one found nothing.
void LocateDesktopView(WindowSystem& windows, WindowHandle& view);

// The desktop list view, for callers that need the view but keep no
// variable of it; 0 when there is none.
WindowHandle FindDesktopView(WindowSystem& windows);

// Whether the desktop view still arranges its items by itself, which would
// undo any picture the moment it is drawn.
struct SelfArrangement {
  bool auto_arrange = false;  // LVS_AUTOARRANGE: the view lines its items up
  bool snap_to_grid = false;  // LVS_EX_SNAPTOGRID: items jump to the grid

  bool operator==(const SelfArrangement&) const = default;
};
// Raises a RuntimeError when the view cannot be asked.
SelfArrangement ReadSelfArrangement(WindowSystem& windows);

}  // namespace corvella
