// LayoutKeeper, the middle of the way back: the saved file and its decisions.
// The desktop's own layout is saved before the desktop is first arranged,
// kept until it has been restored, and restored only from a file that reads
// whole and sound, so that a problem moves nothing and changes no file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "restore/layout_storage.hpp"
#include "restore/saved_layout.hpp"
#include "shell/remote_memory.hpp"
#include "shell/view_placer.hpp"
#include "shell/view_reader.hpp"
#include "shell/window_system.hpp"

namespace corvella {

// The way back reports each problem as an outcome, not by skipping steps:
// the RuntimeErrors of the services below are caught here, so that the
// window and the command line can tell the user what went wrong.
enum class SaveOutcome {
  Saved,
  // A layout saved before and never restored stays: the desktop still shows
  // Corvella's last picture, or its items could not be read to tell.
  KeptEarlier,
  NoDesktopView,
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

  bool operator==(const RestoreResult&) const = default;
};

// What a menu shows: whether anything is saved and, when the file is sound,
// when it was saved ("YYYY-MM-DD HH:MM:SS").
struct SavedLayoutSummary {
  bool present = false;
  std::optional<std::string> saved_at;

  bool operator==(const SavedLayoutSummary&) const = default;
};

// The saved file as one read found it, handed on so that a restore and the
// menu after it read the file once.
struct SavedLayoutRead {
  enum class Found { Nothing, Unreadable, Damaged, Layout };
  Found found = Found::Nothing;
  SavedLayout layout;  // when a layout was found
};

SavedLayoutSummary SummaryOf(const SavedLayoutRead& saved);

class LayoutKeeper {
 public:
  LayoutKeeper(LayoutStorage& storage, WindowSystem& windows, RemoteMemoryProvider& memory)
      : storage_(storage), windows_(windows), reader_(windows, memory), placer_(windows, memory) {}

  // Never raises: a file that cannot be read is found Unreadable.
  SavedLayoutRead ReadSaved();
  // Saves the view's layout unless one saved earlier was never restored and
  // the desktop still shows the picture recorded last (save_decision.hpp). A
  // layout the save replaces stays as the storage's previous one.
  SaveOutcome SaveUnlessPending(WindowHandle view, const SavedTime& now);
  // Records where the arrangement just drawn on `view` put each item; when
  // that fails, no record is left, so that an older one is never taken for
  // this picture. Never raises.
  void RecordPicture(WindowHandle view, const SavedTime& now);
  // Restores what the read found. On success the saved file becomes the
  // backup, so that the next save takes the desktop's layout afresh.
  RestoreResult Restore(WindowHandle view, const SavedLayoutRead& saved);
  SavedLayoutSummary Summary() { return SummaryOf(ReadSaved()); }
  [[nodiscard]] std::string Location() const { return storage_.Location(); }

 private:
  LayoutStorage& storage_;
  WindowSystem& windows_;
  ViewReader reader_;
  ViewPlacer placer_;
};

}  // namespace corvella
