// The desktop's folder view: the shell's own account of where each desktop
// icon stands. Current Windows keeps it apart from the list view and may put
// back what only the list view was told, so a picture is told to both.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "shell/view_placer.hpp"
#include "shell/window_system.hpp"

namespace corvella {

// The folder view's items by index, numbered as the list view numbers them
// and placed in the list view's coordinates. Each call answers nothing, or
// false, when the view refuses or cannot be asked.
class FolderView {
 public:
  virtual ~FolderView() = default;

  virtual std::optional<std::int32_t> ItemCount() = 0;
  virtual std::optional<WindowPoint> ItemPosition(std::int32_t index) = 0;
  // Every move in one call, which leaves the selection as it is.
  virtual bool PositionItems(std::span<const ItemMove> moves) = 0;
};

enum class FolderViewRun {
  Done,      // the work ran and says it succeeded
  Declined,  // no folder view was found, or the work says it failed
  TimedOut,  // no end in time: the work goes on, or hangs, with nobody waiting
};

// Finds the desktop's folder view for each piece of work and runs the work on
// a thread of its own: a call into the shell's process has no time limit.
class FolderViewHost {
 public:
  virtual ~FolderViewHost() = default;

  // Waits at most wait_ms. The work must own everything it uses, since it may
  // still run after a time-out.
  virtual FolderViewRun Run(std::function<bool(FolderView&)> work, std::uint32_t wait_ms) = 0;
};

}  // namespace corvella
