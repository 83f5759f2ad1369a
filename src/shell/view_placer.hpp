// Puts items of a list view in another process where the restore decided:
// the points go through a buffer in that process, so that a place beyond
// 16 bits is not cut, and the view's redraw stays off while items move.
#pragma once

#include <cstdint>
#include <span>

#include "shell/remote_memory.hpp"
#include "shell/window_system.hpp"

namespace corvella {

// One item to put at a place in the view's own coordinates.
struct ItemMove {
  std::int32_t index = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;

  bool operator==(const ItemMove&) const = default;
};

class ViewPlacer {
 public:
  ViewPlacer(WindowSystem& windows, RemoteMemoryProvider& memory) : windows_(windows), memory_(memory) {}

  // Switches the view's redraw back on and repaints it once on every way
  // out, also when a move fails or the view stops answering; that failure
  // then passes on as a RuntimeError. With no moves the view is left alone.
  void MoveItems(WindowHandle view, std::span<const ItemMove> moves);

 private:
  WindowSystem& windows_;
  RemoteMemoryProvider& memory_;
};

}  // namespace corvella
