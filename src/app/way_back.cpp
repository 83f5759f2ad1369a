#include "app/way_back.hpp"

#include <algorithm>
#include <span>
#include <string>
#include <utility>

#include "core/attempt.hpp"
#include "iconfiles/heart_icons.hpp"
#include "restore/display_fit.hpp"
#include "restore/item_matching.hpp"
#include "restore/save_decision.hpp"
#include "shell/desktop_view.hpp"
#include "shell/view_display.hpp"

namespace corvella {
namespace {

constexpr int kCatchUpStepMs = 100;
constexpr int kCatchUpSteps = 30;

// Fits the moves to the display the view is shown on now.
std::size_t FitMoves(const SavedLayout& saved, const ViewDisplay& display, std::vector<ItemMove>& moves) {
  std::vector<WindowPoint> positions;
  positions.reserve(moves.size());
  for (const ItemMove& move : moves) positions.push_back(WindowPoint{move.x, move.y});
  const FittedPositions fitted = FitToDisplay(saved, display, positions);
  for (std::size_t i = 0; i < moves.size(); ++i) {
    moves[i].x = fitted.positions[i].x;
    moves[i].y = fitted.positions[i].y;
  }
  return fitted.moved_to_fit;
}

}  // namespace

WayBack::WayBack(LayoutStorage& storage, WindowSystem& windows, RemoteMemoryProvider& memory,
                 DesktopFolderView& folder_view, FileServices& files, ResourceReader& resources,
                 std::function<void(int)> pause, std::function<SavedTime()> now, std::function<void()> call_off_hearts)
    : storage_(storage),
      windows_(windows),
      reader_(windows, memory),
      placer_(windows, memory),
      folder_view_(folder_view),
      files_(files),
      resources_(resources),
      pause_(std::move(pause)),
      now_(std::move(now)),
      call_off_hearts_(std::move(call_off_hearts)) {}

SaveDone WayBack::SaveUnlessPending() {
  const SavedTime now = now_();
  SaveDone done;
  done.read.view = FindDesktopView(windows_);
  done.read.pending = ReadLayoutFile(storage_);
  done.outcome = SaveOrKeep(done.read, now);
  std::span<const ViewItem> read;
  if (done.read.desktop) read = done.read.desktop->items;
  folder_view_.Check(read);
  done.summary = done.outcome == SaveOutcome::Saved ? SavedLayoutSummary{true, FormatSavedTime(now)}
                                                    : SummaryOf(done.read.pending);
  return done;
}

// Without the desktop's items a sound pending layout stays the way back.
SaveOutcome WayBack::SaveOrKeep(ClickRead& read, const SavedTime& now) {
  if (read.pending.found == SavedLayoutRead::Found::Unreadable) return SaveOutcome::Unreadable;
  const bool pending = read.pending.layout.has_value();
  if (read.view == 0) return pending ? SaveOutcome::KeptEarlier : SaveOutcome::NoDesktopView;
  // Without its grid the file is of the first version, which a restore
  // still fits to the screen as best it can.
  const std::optional<ViewDisplay> display = ValueOf([&] { return MeasureViewDisplay(windows_, read.view); });
  read.desktop = ReadDesktop(read.view);
  if (!read.desktop) return pending ? SaveOutcome::KeptEarlier : SaveOutcome::ReadFailed;

  const std::vector<ViewItem>& items = read.desktop->items;
  if (DecideSave(read.pending.layout, ReadPictureRecord(storage_), items) == SaveDecision::KeepPending) {
    return SaveOutcome::KeptEarlier;
  }
  SavedLayout layout = LayoutOf(items, read.desktop->view_size, now);
  if (display) layout.grid = IconGridOf(*display);
  switch (WriteLayoutFile(storage_, layout)) {
    case WriteOutcome::Written:
      return SaveOutcome::Saved;
    case WriteOutcome::DiskFull:
      return SaveOutcome::DiskFull;
    case WriteOutcome::Failed:
      break;
  }
  return SaveOutcome::WriteFailed;
}

PictureRecord WayBack::RecordPicture(WindowHandle view) {
  return KeepRecord(view != 0 ? ReadDesktop(view) : std::nullopt);
}

// A move to an index the click did not read is no item the record knows.
PictureRecord WayBack::RecordMovesSent(const ClickRead& read, std::span<const ItemMove> moves) {
  std::optional<DesktopRead> drawn = read.desktop;
  if (drawn) {
    for (const ItemMove& move : moves) {
      if (move.index < 0 || static_cast<std::size_t>(move.index) >= drawn->items.size()) continue;
      ViewItem& item = drawn->items[static_cast<std::size_t>(move.index)];
      item.x = move.x;
      item.y = move.y;
    }
  }
  return KeepRecord(drawn);
}

PictureRecord WayBack::KeepRecord(const std::optional<DesktopRead>& drawn) {
  if (drawn && WritePictureRecord(storage_, LayoutOf(drawn->items, drawn->view_size, now_()))) {
    return PictureRecord::Recorded;
  }
  return ForgetPictureRecord(storage_) ? PictureRecord::Forgotten : PictureRecord::OlderKept;
}

// A heart still waiting for its files would be drawn over the layout as
// soon as the desktop shows enough items again; a window that cannot be
// told keeps waiting, and the restore goes on.
RestoreDone WayBack::Restore(std::string_view desktop) {
  FailureOf(call_off_hearts_);
  const WindowHandle view = FindDesktopView(windows_);
  const SavedLayoutRead saved = ReadLayoutFile(storage_);
  const RestoreResult result = PutBack(view, saved, desktop);
  return {result, result.outcome == RestoreOutcome::Restored ? SavedLayoutSummary{} : SummaryOf(saved)};
}

// A view whose style cannot be read is tried all the same: the restore then
// says why it could not read the view. A display that cannot be measured
// gets the saved places, as a display that is the same would.
RestoreResult WayBack::PutBack(WindowHandle view, const SavedLayoutRead& saved, std::string_view desktop) {
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
  if (ValueOf([&] { return ArrangesItself(windows_, view); }).value_or(false)) {
    return RestoreResult{RestoreOutcome::ViewArrangesItself};
  }
  RemoveHeartIcons(view, desktop);
  if (view == 0) return RestoreResult{RestoreOutcome::NoDesktopView};
  const std::optional<std::vector<ViewItem>> items = ValueOf([&] { return reader_.ReadItems(view); });
  if (!items) return RestoreResult{RestoreOutcome::ReadFailed};
  folder_view_.Check(*items);

  std::vector<std::string> names;
  for (const ViewItem& item : *items) names.push_back(item.name);
  MovePlan plan = PlanMoves(*saved.layout, names);
  const auto unnamed = static_cast<std::size_t>(std::count(names.begin(), names.end(), std::string()));
  // A layout saved with no item it could name has nothing to put back either.
  if (plan.moves.empty()) return RestoreResult{RestoreOutcome::NothingMatched, 0, plan.skipped, 0, unnamed};
  std::size_t moved_to_fit = 0;
  if (const auto display = ValueOf([&] { return MeasureViewDisplay(windows_, view); })) {
    moved_to_fit = FitMoves(*saved.layout, *display, plan.moves);
  }
  if (FailureOf([&] { placer_.MoveItems(view, plan.moves); })) return RestoreResult{RestoreOutcome::MoveFailed};
  folder_view_.Follow(plan.moves, static_cast<std::int32_t>(items->size()));
  const RestoreOutcome outcome =
      RetireLayoutFile(storage_) ? RestoreOutcome::Restored : RestoreOutcome::RestoredFileKept;
  return RestoreResult{outcome, plan.moves.size(), plan.skipped, moved_to_fit, unnamed};
}

std::optional<DesktopRead> WayBack::ReadDesktop(WindowHandle view) {
  return ValueOf([&] { return DesktopRead{reader_.ReadItems(view), windows_.ClientSize(view)}; });
}

// The shell drops deleted files from its view a moment later; items read
// before that would shift under the moves.
void WayBack::RemoveHeartIcons(WindowHandle view, std::string_view desktop) {
  const std::int32_t before = ValueOf([&] { return CountItems(windows_, view); }).value_or(0);
  const std::int32_t deleted = DeleteHeartIcons(files_, resources_, desktop);
  if (deleted > 0 && view != 0) LetTheShellCatchUp(view, before, deleted);
}

void WayBack::LetTheShellCatchUp(WindowHandle view, std::int32_t before, std::int32_t deleted) {
  for (int step = 0; step < kCatchUpSteps; ++step) {
    const std::optional<std::int32_t> shown = ValueOf([&] { return CountItems(windows_, view); });
    if (!shown || *shown <= before - deleted) return;
    pause_(kCatchUpStepMs);
  }
}

SavedLayoutSummary WayBack::Summary() { return SummaryOf(ReadLayoutFile(storage_)); }

}  // namespace corvella
