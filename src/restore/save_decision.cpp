#include "restore/save_decision.hpp"

#include <cstddef>
#include <string>
#include <vector>

#include "restore/item_matching.hpp"

namespace corvella {
namespace {

// More than half of the recorded items still on the desktop stand where the
// arrangement put them. Items gone since (heart icon files removed) do not
// count either way; with none of them left, the picture is gone.
bool StillThePicture(const SavedLayout& picture, std::span<const ViewItem> desktop,
                     std::span<const std::string> names) {
  const MovePlan placed = PlanMoves(picture, names);
  std::size_t in_place = 0;
  for (const ItemMove& move : placed.moves) {
    const ViewItem& item = desktop[static_cast<std::size_t>(move.index)];
    if (item.x == move.x && item.y == move.y) ++in_place;
  }
  return !placed.moves.empty() && in_place * 2 > placed.moves.size();
}

}  // namespace

SaveDecision DecideSave(const std::optional<SavedLayout>& pending, const std::optional<RecordedPicture>& record,
                        std::span<const ViewItem> desktop) {
  if (!pending) return SaveDecision::SaveDesktop;
  const std::vector<std::string> names = NamesOf(desktop);
  if (PlanMoves(*pending, names).moves.empty()) return SaveDecision::SaveDesktop;
  if (!record || record->drawn_over != FormatSavedTime(pending->saved_at)) return SaveDecision::KeepPending;
  return StillThePicture(record->picture, desktop, names) ? SaveDecision::KeepPending : SaveDecision::SaveDesktop;
}

}  // namespace corvella
