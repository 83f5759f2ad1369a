#include "restore/layout_keeper.hpp"

#include <utility>
#include <vector>

#include "core/runtime_error.hpp"
#include "restore/display_fit.hpp"
#include "restore/item_matching.hpp"
#include "restore/save_decision.hpp"
#include "shell/view_display.hpp"

namespace corvella {
namespace {

// An item without a name the reader could take is left out: no restore
// could tell it by name.
SavedLayout LayoutOf(const std::vector<ViewItem>& items, WindowSize view_size, const SavedTime& now) {
  std::vector<std::string> names;
  names.reserve(items.size());
  for (const ViewItem& item : items) names.push_back(item.name);
  const std::vector<std::int32_t> occurrences = NumberOccurrences(names);

  SavedLayout layout{now, view_size.width, view_size.height, {}};
  layout.items.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (names[i].empty()) continue;
    layout.items.push_back(SavedItem{std::move(names[i]), occurrences[i], items[i].x, items[i].y});
  }
  return layout;
}

bool IsSoundLayout(const std::optional<std::string>& text) { return text && ParseSavedLayout(*text).layout; }

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

SaveOutcome LayoutKeeper::SaveUnlessPending(WindowHandle view, const SavedTime& now) {
  std::optional<std::string> pending;
  try {
    pending = storage_.Load();
  } catch (const RuntimeError&) {
    return SaveOutcome::Unreadable;
  }
  // Without the desktop's items a sound pending layout stays the way back.
  if (view == 0) return IsSoundLayout(pending) ? SaveOutcome::KeptEarlier : SaveOutcome::NoDesktopView;
  // Without its grid the file is of the first version, which a restore
  // still fits to the screen as best it can.
  const std::optional<ViewDisplay> display = MeasureOrNone(windows_, view);
  std::vector<ViewItem> items;
  WindowSize view_size;
  try {
    items = reader_.ReadItems(view);
    view_size = windows_.ClientSize(view);
  } catch (const RuntimeError&) {
    return IsSoundLayout(pending) ? SaveOutcome::KeptEarlier : SaveOutcome::ReadFailed;
  }

  // A record that cannot be read counts as none: the pending layout is kept.
  const std::optional<std::string> picture = [&]() -> std::optional<std::string> {
    try {
      return storage_.LoadPicture();
    } catch (const RuntimeError&) {
      return std::nullopt;
    }
  }();
  if (DecideSave(pending, picture, items) == SaveDecision::KeepPending) return SaveOutcome::KeptEarlier;
  SavedLayout layout = LayoutOf(items, view_size, now);
  if (display) layout.grid = IconGridOf(*display);
  try {
    storage_.Save(FormatSavedLayout(layout));
  } catch (const RuntimeError& failure) {
    return failure.kind() == RuntimeErrorKind::DiskFull ? SaveOutcome::DiskFull : SaveOutcome::WriteFailed;
  }
  return SaveOutcome::Saved;
}

// The record is a help, not a way back: a failure is not told, and the
// arrangement stands.
void LayoutKeeper::RecordPicture(WindowHandle view, const SavedTime& now) {
  try {
    if (view != 0) {
      storage_.SavePicture(FormatSavedLayout(LayoutOf(reader_.ReadItems(view), windows_.ClientSize(view), now)));
      return;
    }
  } catch (const RuntimeError&) {
    // falls through to forget the older record
  }
  try {
    storage_.ForgetPicture();
  } catch (const RuntimeError&) {
    // a record that can be neither written nor removed: the next save may
    // take this picture for the user's layout, whose file then stays as the
    // previous one
  }
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
