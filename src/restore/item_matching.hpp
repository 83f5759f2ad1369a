// Which item is which: its display name and its occurrence (the first item
// of a name in index order is 1). From a saved layout and the names shown
// now, the moves that put every surviving item back in its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "restore/saved_layout.hpp"
#include "shell/view_placer.hpp"

namespace corvella {

struct MovePlan {
  std::vector<ItemMove> moves;  // in index order
  std::size_t skipped = 0;      // saved items the view no longer shows
};

// Each name's occurrence, in the order given.
std::vector<std::int32_t> NumberOccurrences(std::span<const std::string> names);

// Items added since the layout was saved get no move.
MovePlan PlanMoves(const SavedLayout& saved, std::span<const std::string> current_names);

}  // namespace corvella
