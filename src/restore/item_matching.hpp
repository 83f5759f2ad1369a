// Which item is which: its display name and its occurrence (the first item
// of a name in index order is 1). From the view's items, the layout to save;
// from a saved layout and the names shown now, the moves that put every
// surviving item back in its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "restore/saved_layout.hpp"
#include "shell/view_placer.hpp"
#include "shell/view_reader.hpp"
#include "shell/window_system.hpp"

namespace corvella {

struct MovePlan {
  std::vector<ItemMove> moves;  // in index order
  std::size_t skipped = 0;      // saved items the view no longer shows
};

// The items' names, in the order given.
std::vector<std::string> NamesOf(std::span<const ViewItem> items);

// Each name's occurrence, in the order given.
std::vector<std::int32_t> NumberOccurrences(std::span<const std::string> names);

// The items as a layout saved at `now` from a view of `view_size`, without a
// grid. An item without a name the reader could take is left out: no
// restore could tell it by name.
SavedLayout LayoutOf(std::span<const ViewItem> items, WindowSize view_size, const SavedTime& now);

// Items added since the layout was saved get no move.
MovePlan PlanMoves(const SavedLayout& saved, std::span<const std::string> current_names);

}  // namespace corvella
