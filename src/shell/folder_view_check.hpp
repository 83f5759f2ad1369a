// Whether the folder view may be told a click's moves: it must hold as many
// items as the list view, and most of the items it is asked about where the
// list view shows them. A few may differ, where another program moved icons
// through the list view alone.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "shell/folder_view.hpp"
#include "shell/view_reader.hpp"

namespace corvella {

// An item to ask the folder view about, where the list view showed it.
struct CheckedItem {
  std::int32_t index = 0;
  WindowPoint list_position;
};

// Up to sixteen items of the list view's read, spread evenly from its first
// item to its last.
std::vector<CheckedItem> ItemsToCheck(std::span<const ViewItem> read);

// Asked on the folder view's own thread: the same count, and more than half
// of the checked items at the same position.
bool FolderViewAgrees(FolderView& view, std::int32_t list_count, std::span<const CheckedItem> checked);

}  // namespace corvella
