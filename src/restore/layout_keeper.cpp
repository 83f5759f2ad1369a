#include "restore/layout_keeper.hpp"

#include <utility>
#include <vector>

#include "core/runtime_error.hpp"
#include "restore/display_fit.hpp"
#include "restore/item_matching.hpp"
#include "shell/view_display.hpp"

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

std::optional<ViewDisplay> MeasureOrNone(WindowSystem& windows, WindowHandle view) {
  try {
    return MeasureViewDisplay(windows, view);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

// Fits the moves to the display the view is shown on now; one that cannot
// be measured gets the saved places, as a display that is the same would.
std::size_t FitMoves(WindowSystem& windows, WindowHandle view, const SavedLayout& saved, std::vector<ItemMove>& moves) {
  const std::optional<ViewDisplay> display = MeasureOrNone(windows, view);
  if (!display) return 0;
  std::vector<WindowPoint> positions;
  positions.reserve(moves.size());
  for (const ItemMove& move : moves) positions.push_back(WindowPoint{move.x, move.y});
  const FittedPositions fitted = FitToDisplay(saved, *display, positions);
  for (std::size_t i = 0; i < moves.size(); ++i) {
    moves[i].x = fitted.positions[i].x;
    moves[i].y = fitted.positions[i].y;
  }
  return fitted.moved_to_fit;
}

}  // namespace

SavedLayoutSummary SummaryOf(const SavedLayoutRead& saved) {
  switch (saved.found) {
    case SavedLayoutRead::Found::Nothing:
      return {};
    case SavedLayoutRead::Found::Unreadable:
    case SavedLayoutRead::Found::Damaged:
      return SavedLayoutSummary{true, std::nullopt};
    case SavedLayoutRead::Found::Layout:
      break;
  }
  return SavedLayoutSummary{true, FormatSavedTime(saved.layout.saved_at)};
}

SavedLayoutRead LayoutKeeper::ReadSaved() {
  std::optional<std::string> text;
  try {
    text = storage_.Load();
  } catch (const RuntimeError&) {
    return SavedLayoutRead{SavedLayoutRead::Found::Unreadable, {}};
  }
  if (!text) return {};
  ParsedLayout parsed = ParseSavedLayout(*text);
  if (!parsed.layout) return SavedLayoutRead{SavedLayoutRead::Found::Damaged, {}};
  return SavedLayoutRead{SavedLayoutRead::Found::Layout, std::move(*parsed.layout)};
}

SaveOutcome LayoutKeeper::SaveUnlessPending(const std::function<WindowHandle()>& find_view, const SavedTime& now) {
  switch (ReadSaved().found) {
    case SavedLayoutRead::Found::Unreadable:
      return SaveOutcome::Unreadable;
    case SavedLayoutRead::Found::Damaged:
      return SaveOutcome::Damaged;
    case SavedLayoutRead::Found::Layout:
      return SaveOutcome::KeptEarlier;
    case SavedLayoutRead::Found::Nothing:
      break;
  }
  const WindowHandle view = find_view();
  if (view == 0) return SaveOutcome::NoDesktopView;
  // Without its grid the file is of the first version, which a restore
  // still fits to the screen as best it can.
  const std::optional<ViewDisplay> display = MeasureOrNone(windows_, view);
  SavedLayout layout;
  try {
    layout = LayoutOf(reader_.ReadItems(view), windows_.ClientSize(view), now);
  } catch (const RuntimeError&) {
    return SaveOutcome::ReadFailed;
  }
  if (display) layout.grid = IconGridOf(*display);
  try {
    storage_.Save(FormatSavedLayout(layout));
  } catch (const RuntimeError&) {
    return SaveOutcome::WriteFailed;
  }
  return SaveOutcome::Saved;
}

RestoreResult LayoutKeeper::Restore(WindowHandle view, const SavedLayoutRead& saved) {
  switch (saved.found) {
    case SavedLayoutRead::Found::Nothing:
      return RestoreResult{RestoreOutcome::NothingSaved};
    case SavedLayoutRead::Found::Unreadable:
      return RestoreResult{RestoreOutcome::Unreadable};
    case SavedLayoutRead::Found::Damaged:
      return RestoreResult{RestoreOutcome::Damaged};
    case SavedLayoutRead::Found::Layout:
      break;
  }
  if (view == 0) return RestoreResult{RestoreOutcome::NoDesktopView};
  std::vector<std::string> names;
  try {
    names = reader_.ReadNames(view);
  } catch (const RuntimeError&) {
    return RestoreResult{RestoreOutcome::ReadFailed};
  }

  MovePlan plan = PlanMoves(saved.layout, names);
  if (plan.moves.empty() && plan.skipped > 0) return RestoreResult{RestoreOutcome::NothingMatched, 0, plan.skipped};
  const std::size_t moved_to_fit = FitMoves(windows_, view, saved.layout, plan.moves);
  try {
    placer_.MoveItems(view, plan.moves);
  } catch (const RuntimeError&) {
    return RestoreResult{RestoreOutcome::MoveFailed};
  }
  RestoreResult result{RestoreOutcome::Restored, plan.moves.size(), plan.skipped, moved_to_fit};
  try {
    storage_.MarkRestored();
  } catch (const RuntimeError&) {
    result.outcome = RestoreOutcome::RestoredFileKept;
  }
  return result;
}

}  // namespace corvella
