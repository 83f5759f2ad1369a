#include "shell/folder_view_check.hpp"

#include <algorithm>
#include <optional>

namespace corvella {
namespace {

constexpr std::uint64_t kMostItemsChecked = 16;

}  // namespace

std::vector<CheckedItem> ItemsToCheck(std::span<const ViewItem> read) {
  const std::uint64_t count = read.size();
  const std::uint64_t taken = std::min(count, kMostItemsChecked);
  std::vector<CheckedItem> checked;
  for (std::uint64_t i = 0; i < taken; ++i) {
    const std::uint64_t index = taken == 1 ? 0 : i * (count - 1) / (taken - 1);
    const ViewItem& item = read[static_cast<std::size_t>(index)];
    checked.push_back(CheckedItem{static_cast<std::int32_t>(index), WindowPoint{item.x, item.y}});
  }
  return checked;
}

bool FolderViewAgrees(FolderView& view, std::int32_t list_count, std::span<const CheckedItem> checked) {
  if (checked.empty() || view.ItemCount() != list_count) return false;
  std::size_t alike = 0;
  for (const CheckedItem& item : checked) {
    if (view.ItemPosition(item.index) == std::optional(item.list_position)) ++alike;
  }
  return alike * 2 > checked.size();
}

}  // namespace corvella
