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
constexpr int kReadAttempts = 3;

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
  click_read_ = done.read.desktop;
  layout_under_picture_ = done.summary.saved_at.value_or("");
  return done;
}

// A desktop that cannot be read may have been laid out anew since a
// pending layout was saved: the click asks as for any save that failed.
SaveOutcome WayBack::SaveOrKeep(ClickRead& read, const SavedTime& now) {
  if (read.view == 0) return SaveOutcome::NoDesktopView;
  if (read.pending.found == SavedLayoutRead::Found::Unreadable) return SaveOutcome::Unreadable;
  // Without its grid the file is of the first version, which a restore
  // still fits to the screen as best it can.
  const std::optional<ViewDisplay> display = ValueOf([&] { return MeasureViewDisplay(windows_, read.view); });
  read.desktop = ReadDesktop(read.view);
  if (!read.desktop) return SaveOutcome::ReadFailed;

  const std::vector<ViewItem>& items = read.desktop->items;
  const std::optional<RecordedPicture> record = record_may_be_stale_ ? std::nullopt : ReadPictureRecord(storage_);
  if (DecideSave(read.pending.layout, record, items) == SaveDecision::KeepPending) {
    return SaveOutcome::KeptEarlier;
  }
  // The layout a save replaces stays one level only: a newer Corvella's
  // would be gone at the next save.
  if (read.pending.newer && !KeepNewerLayoutAside(storage_)) return SaveOutcome::WriteFailed;
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

PictureRecord WayBack::RecordPicture(WindowHandle view, std::span<const ItemMove> moves) {
  return KeepRecord(DrawnPicture(view, moves, now_()));
}

// A move to an index the click did not read is no item the record knows.
PictureRecord WayBack::RecordMovesSent(std::span<const ItemMove> moves) {
  if (!click_read_) return KeepRecord(std::nullopt);
  DesktopRead drawn = *click_read_;
  for (const ItemMove& move : moves) {
    if (move.index < 0 || static_cast<std::size_t>(move.index) >= drawn.items.size()) continue;
    ViewItem& item = drawn.items[static_cast<std::size_t>(move.index)];
    item.x = move.x;
    item.y = move.y;
  }
  return KeepRecord(LayoutOf(drawn.items, drawn.view_size, now_()));
}

PictureRecord WayBack::KeepRecord(const std::optional<SavedLayout>& picture) {
  if (picture && WritePictureRecord(storage_, RecordedPicture{*picture, layout_under_picture_})) {
    record_may_be_stale_ = false;
    return PictureRecord::Recorded;
  }
  record_may_be_stale_ = !ForgetPictureRecord(storage_);
  return record_may_be_stale_ ? PictureRecord::OlderKept : PictureRecord::Forgotten;
}

// A view that does not answer the read-back (a stalled shell) still got
// the moves: the record then holds the places sent, for the items the
// last save read, which the view shows there unless it was moved since.
std::optional<SavedLayout> WayBack::DrawnPicture(WindowHandle view, std::span<const ItemMove> moves,
                                                 const SavedTime& now) {
  if (const std::optional<DesktopRead> drawn = view != 0 ? ReadDesktop(view) : std::nullopt) {
    return LayoutOf(drawn->items, drawn->view_size, now);
  }
  if (!click_read_) return std::nullopt;
  const std::vector<std::string> names = NamesOf(click_read_->items);
  const std::vector<std::int32_t> occurrences = NumberOccurrences(names);
  SavedLayout picture{now, click_read_->view_size.width, click_read_->view_size.height, {}};
  for (const ItemMove& move : moves) {
    const auto at = static_cast<std::size_t>(move.index);
    if (move.index < 0 || at >= names.size() || names[at].empty()) continue;
    picture.items.push_back(SavedItem{names[at], occurrences[at], move.x, move.y});
  }
  return picture;
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
  const std::optional<std::vector<ViewItem>> items =
      ValueOf([&] { return reader_.ReadItems(view, CountItems(windows_, view)); });
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

// Icons that come or go while the view is read (a download finishing)
// shift the items under the read: it starts over until the count before
// and after it agree, a few times at most.
std::optional<DesktopRead> WayBack::ReadDesktop(WindowHandle view) {
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    const std::optional<std::int32_t> before = ValueOf([&] { return CountItems(windows_, view); });
    if (!before) return std::nullopt;
    std::optional<DesktopRead> read = ValueOf([&] {
      return DesktopRead{reader_.ReadItems(view, *before), windows_.ClientSize(view)};
    });
    const std::optional<std::int32_t> after = ValueOf([&] { return CountItems(windows_, view); });
    if (!after) return std::nullopt;
    if (*after == *before) return read;
  }
  return std::nullopt;
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
