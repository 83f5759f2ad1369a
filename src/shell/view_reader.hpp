// Reads every item's display name and position from a list view in another
// process: LVITEMW structures and POINTs in a buffer inside that process,
// laid out for its bitness, a few hundred items per write and read. A name
// that fills the usual room is read again with room for 32,767 units.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/remote_memory.hpp"
#include "shell/window_system.hpp"

namespace corvella {

struct ViewItem {
  // UTF-8; empty when the view gives the item no name or one longer than
  // 32,767 units, which no name could be matched with.
  std::string name;
  std::int32_t x = 0;
  std::int32_t y = 0;

  bool operator==(const ViewItem&) const = default;
};

class ViewReader {
 public:
  ViewReader(WindowSystem& windows, RemoteMemoryProvider& memory) : windows_(windows), memory_(memory) {}

  // The first `count` items, in index order, for a caller that counts the
  // view itself. Raises a RuntimeError (ServiceFailure) when a message
  // fails, an item has no position, or the view's answer does not lie in the
  // buffer: a name is never read from anywhere else.
  std::vector<ViewItem> ReadItems(WindowHandle view, std::int32_t count);

 private:
  WindowSystem& windows_;
  RemoteMemoryProvider& memory_;
};

}  // namespace corvella
