#include "restore/layout_keeper.hpp"

#include <utility>
#include <vector>

#include "core/runtime_error.hpp"
#include "restore/item_matching.hpp"

namespace corvella {
namespace {

SavedLayout LayoutOf(const std::vector<ViewItem>& items, WindowSize view_size, const SavedTime& now) {
  std::vector<std::string> names;
  names.reserve(items.size());
  for (const ViewItem& item : items) names.push_back(item.name);
  const std::vector<std::int32_t> occurrences = NumberOccurrences(names);

  SavedLayout layout{now, view_size.width, view_size.height, {}};
  layout.items.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    layout.items.push_back(SavedItem{std::move(names[i]), occurrences[i], items[i].x, items[i].y});
  }
  return layout;
}

}  // namespace

SaveOutcome LayoutKeeper::SaveUnlessPending(WindowHandle view, const SavedTime& now) {
  try {
    if (const std::optional<std::string> pending = storage_.Load()) {
      return ParseSavedLayout(*pending).layout ? SaveOutcome::KeptEarlier : SaveOutcome::Damaged;
    }
  } catch (const RuntimeError&) {
    return SaveOutcome::Unreadable;
  }
  if (view == 0) return SaveOutcome::NoDesktopView;
  SavedLayout layout;
  try {
    layout = LayoutOf(reader_.ReadItems(view), windows_.ClientSize(view), now);
  } catch (const RuntimeError&) {
    return SaveOutcome::ReadFailed;
  }
  try {
    storage_.Save(FormatSavedLayout(layout));
  } catch (const RuntimeError&) {
    return SaveOutcome::WriteFailed;
  }
  return SaveOutcome::Saved;
}

RestoreResult LayoutKeeper::Restore(WindowHandle view) {
  std::optional<std::string> text;
  try {
    text = storage_.Load();
  } catch (const RuntimeError&) {
    return RestoreResult{RestoreOutcome::Unreadable};
  }
  if (!text) return RestoreResult{RestoreOutcome::NothingSaved};
  const ParsedLayout parsed = ParseSavedLayout(*text);
  if (!parsed.layout) return RestoreResult{RestoreOutcome::Damaged};
  if (view == 0) return RestoreResult{RestoreOutcome::NoDesktopView};
  std::vector<std::string> names;
  try {
    names = reader_.ReadNames(view);
  } catch (const RuntimeError&) {
    return RestoreResult{RestoreOutcome::ReadFailed};
  }

  const MovePlan plan = PlanMoves(*parsed.layout, names);
  if (plan.moves.empty() && plan.skipped > 0) return RestoreResult{RestoreOutcome::NothingMatched, 0, plan.skipped};
  try {
    placer_.MoveItems(view, plan.moves);
  } catch (const RuntimeError&) {
    return RestoreResult{RestoreOutcome::MoveFailed};
  }
  RestoreResult result{RestoreOutcome::Restored, plan.moves.size(), plan.skipped};
  try {
    storage_.MarkRestored();
  } catch (const RuntimeError&) {
    result.outcome = RestoreOutcome::RestoredFileKept;
  }
  return result;
}

SavedLayoutSummary LayoutKeeper::Summary() {
  std::optional<std::string> text;
  try {
    text = storage_.Load();
  } catch (const RuntimeError&) {
    return SavedLayoutSummary{true, std::nullopt};
  }
  if (!text) return SavedLayoutSummary{};
  const ParsedLayout parsed = ParseSavedLayout(*text);
  if (!parsed.layout) return SavedLayoutSummary{true, std::nullopt};
  return SavedLayoutSummary{true, FormatSavedTime(parsed.layout->saved_at)};
}

}  // namespace corvella
