// WayBack, the way back as one service: before an arrangement it saves the
// desktop's own layout or keeps one saved earlier, after one it records the
// picture, and at a restore it puts the saved layout back. Each operation
// returns what it found, every failure as an outcome; what the user reads
// of them is in way_back_messages.hpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_services.hpp"
#include "files/resource_reader.hpp"
#include "restore/layout_files.hpp"
#include "restore/layout_storage.hpp"
#include "restore/saved_layout.hpp"
#include "shell/desktop_folder_view.hpp"
#include "shell/remote_memory.hpp"
#include "shell/view_placer.hpp"
#include "shell/view_reader.hpp"
#include "shell/window_system.hpp"

namespace corvella {

enum class SaveOutcome {
  Saved,
  // A layout saved before and never restored stays: the desktop still shows
  // Corvella's last picture, or no record it can trust tells otherwise.
  KeptEarlier,
  NoDesktopView,  // nothing is saved, and no picture may be drawn
  // The saved file could not be read: it may be the only copy of a layout,
  // so it is not replaced.
  Unreadable,
  ReadFailed,
  WriteFailed,
  DiskFull,  // the disk had no room for the file
};

enum class RestoreOutcome {
  Restored,
  RestoredFileKept,  // the items are back, but the file could not become the backup
  NothingSaved,
  Unreadable,
  Damaged,
  NoDesktopView,
  ReadFailed,
  MoveFailed,      // some items may have moved; the file stays for another try
  NothingMatched,  // no saved item is on the desktop: nothing moved, the file stays
  // The view arranges its items by itself and would undo every move:
  // nothing moved, the file stays.
  ViewArrangesItself,
};

struct RestoreResult {
  RestoreOutcome outcome = RestoreOutcome::NothingSaved;
  std::size_t moved = 0;
  std::size_t skipped = 0;  // saved items the desktop no longer shows
  // Of those moved, the items brought onto the screen as it is now: on
  // another display their saved places lay off it or on another item.
  std::size_t moved_to_fit = 0;
  // Items on the desktop without a name to tell them by (none, or one too
  // long): no save could keep their places, and no restore puts them back.
  std::size_t unnamed = 0;

  bool operator==(const RestoreResult&) const = default;
};

// One read of the desktop view: its items in index order, and its size.
struct DesktopRead {
  std::vector<ViewItem> items;
  WindowSize view_size;
};

// What the click read before an arrangement, handed on so that what comes
// after the save need not read it again.
struct ClickRead {
  WindowHandle view = 0;               // 0 when no desktop view was found
  std::optional<DesktopRead> desktop;  // none when the view was not read or did not answer
  SavedLayoutRead pending;             // the saved file as the click found it
};

// How a save went, what the menu shows after it, and what the click read.
struct SaveDone {
  SaveOutcome outcome = SaveOutcome::ReadFailed;
  SavedLayoutSummary summary;
  ClickRead read;
};

// How a restore went, and what the menu shows after it: the saved file as
// the restore's one read found it, or nothing once it became the backup.
struct RestoreDone {
  RestoreResult result;
  SavedLayoutSummary summary;
};

enum class PictureRecord {
  Recorded,
  // Not made: no record is left, so that an older one is never taken for
  // this picture.
  Forgotten,
  // Neither made nor removed: the next save may take this picture for the
  // user's layout, whose file then stays as the previous one.
  OlderKept,
};

class WayBack {
 public:
  // pause(ms) waits that long for the shell; now() is the local time;
  // call_off_hearts() tells every open Corvella window to stop waiting for
  // its heart.
  WayBack(LayoutStorage& storage, WindowSystem& windows, RemoteMemoryProvider& memory, DesktopFolderView& folder_view,
          FileServices& files, ResourceReader& resources, std::function<void(int)> pause,
          std::function<SavedTime()> now, std::function<void()> call_off_hearts);

  // Saves the desktop's layout unless one saved earlier was never restored
  // and the desktop still shows the picture recorded last
  // (save_decision.hpp). Reads the saved file, the record and the view once,
  // and keeps what it read for the record of the picture drawn after it; the
  // view's read is the click's check of the folder view.
  SaveDone SaveUnlessPending();
  // After an arrangement on `view` that sent `moves`: where it put each
  // item, read back from the view, or else the places sent to the items the
  // last save read. The record names the layout it was drawn over. It is a
  // help, not a way back: its failure is not told, and the arrangement stands.
  PictureRecord RecordPicture(WindowHandle view, std::span<const ItemMove> moves);
  // After an arrangement cut short by a view that stopped answering, which a
  // read-back would only wait on again: the desktop as the last save read
  // it, with the moves that went.
  PictureRecord RecordMovesSent(std::span<const ItemMove> moves);
  // With a sound saved layout, calls off every waiting heart, removes the
  // heart icon copies from the desktop folder (none without a path) and
  // restores; otherwise only says why it cannot. A view that arranges its
  // items by itself would undo the moves at once: nothing is touched then.
  // Reads the saved file once; on success it becomes the backup. The folder
  // view is checked at the restore's read and told the same moves after them.
  RestoreDone Restore(std::string_view desktop);
  [[nodiscard]] SavedLayoutSummary Summary();
  [[nodiscard]] std::string Location() const { return storage_.Location(); }

 private:
  SaveOutcome SaveOrKeep(ClickRead& read, const SavedTime& now);
  PictureRecord KeepRecord(const std::optional<SavedLayout>& picture);
  RestoreResult PutBack(WindowHandle view, const SavedLayoutRead& saved, std::string_view desktop);
  std::optional<DesktopRead> ReadDesktop(WindowHandle view);
  std::optional<SavedLayout> DrawnPicture(WindowHandle view, std::span<const ItemMove> moves, const SavedTime& now);
  void RemoveHeartIcons(WindowHandle view, std::string_view desktop);
  // Waits, a little at a time and at most a few seconds, until the view
  // shows `deleted` items fewer than `before`.
  void LetTheShellCatchUp(WindowHandle view, std::int32_t before, std::int32_t deleted);

  LayoutStorage& storage_;
  WindowSystem& windows_;
  ViewReader reader_;
  ViewPlacer placer_;
  DesktopFolderView& folder_view_;
  FileServices& files_;
  ResourceReader& resources_;
  std::function<void(int)> pause_;
  std::function<SavedTime()> now_;
  std::function<void()> call_off_hearts_;

  // What the last save read and left saved, for the record of the picture
  // drawn after it.
  std::optional<DesktopRead> click_read_;
  std::string layout_under_picture_;  // the saved layout's time; empty when none
  // A record this run could neither replace nor remove tells of an older
  // picture: it is not trusted again until one is written.
  bool record_may_be_stale_ = false;
};

}  // namespace corvella
