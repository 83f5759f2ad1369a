#include "shell/desktop_folder_view.hpp"

#include <utility>
#include <vector>

#include "shell/folder_view_check.hpp"

namespace corvella {

void DesktopFolderView::Check(std::span<const ViewItem> read) {
  agreed_ = false;
  std::vector<CheckedItem> checked = ItemsToCheck(read);
  if (checked.empty()) return;
  const auto count = static_cast<std::int32_t>(read.size());
  agreed_ =
      Run([count, checked = std::move(checked)](FolderView& view) { return FolderViewAgrees(view, count, checked); });
}

// The count is asked again: items that came or went apart from the list view
// would shift every index after them.
void DesktopFolderView::Follow(std::span<const ItemMove> moves, std::int32_t list_count) {
  if (!std::exchange(agreed_, false)) return;
  std::vector<ItemMove> held;
  for (const ItemMove& move : moves) {
    if (move.index >= 0 && move.index < list_count) held.push_back(move);
  }
  if (held.empty()) return;
  Run([list_count, held = std::move(held)](FolderView& view) {
    return view.ItemCount() == list_count && view.PositionItems(held);
  });
}

bool DesktopFolderView::Run(std::function<bool(FolderView&)> work) {
  if (unanswered_) return false;
  const FolderViewRun run = host_.Run(std::move(work), answer_within_ms_);
  unanswered_ = run == FolderViewRun::TimedOut;
  return run == FolderViewRun::Done;
}

}  // namespace corvella
