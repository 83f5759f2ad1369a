// Finding the shell's desktop list view by its class-name chain, and what
// the features ask of it in their own words: its item count, one item's
// move, its icon spacing, and whether it still arranges its items by itself.
#pragma once

#include <cstdint>

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

// The view's item count (LVM_GETITEMCOUNT); a message to view 0 answers 0.
// Raises a RuntimeError when the view does not answer.
std::int32_t CountItems(WindowSystem& windows, WindowHandle view);
// Moves one item to a packed icon position (LVM_SETITEMPOSITION); the
// answer is not examined. Raises a RuntimeError when the view does not answer.
void MoveItem(WindowSystem& windows, WindowHandle view, std::int32_t index, std::int32_t position);
// The icon view's spacing, cy * 65536 + cx (LVM_GETITEMSPACING). Raises a
// RuntimeError when the view does not answer.
std::int32_t ReadIconSpacing(WindowSystem& windows, WindowHandle view);

// Whether the desktop view still arranges its items by itself, which would
// undo any picture the moment it is drawn.
struct SelfArrangement {
  bool auto_arrange = false;  // LVS_AUTOARRANGE: the view lines its items up
  bool snap_to_grid = false;  // LVS_EX_SNAPTOGRID: items jump to the grid

  bool operator==(const SelfArrangement&) const = default;
};
// Raises a RuntimeError when the view cannot be asked.
SelfArrangement ReadSelfArrangement(WindowSystem& windows);
// The view's automatic arrangement alone, from its style: no message to the
// view. False for view 0; raises a RuntimeError when the style cannot be read.
bool ArrangesItself(WindowSystem& windows, WindowHandle view);

}  // namespace corvella
