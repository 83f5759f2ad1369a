// The saved layout file and the record of Corvella's last picture as the
// way back reads and writes them through the storage: each read parsed once
// and handed on, each failure told in what the call returns.
#pragma once

#include <optional>
#include <string>

#include "restore/layout_storage.hpp"
#include "restore/saved_layout.hpp"

namespace corvella {

// The saved file as one read found it.
struct SavedLayoutRead {
  enum class Found { Nothing, Unreadable, Damaged, Layout };
  Found found = Found::Nothing;
  std::optional<SavedLayout> layout;  // set when a layout was found
  // Damaged to this Corvella only: a newer one wrote it, in a version this
  // one does not know.
  bool newer = false;
};

// Where Corvella's last arrangement put each item, and the saved layout it
// was drawn over, named by the time that layout was saved (empty when no
// layout was saved).
struct RecordedPicture {
  SavedLayout picture;
  std::string drawn_over;
};

// What a menu shows: whether anything is saved and, when the file is sound,
// when it was saved ("YYYY-MM-DD HH:MM:SS").
struct SavedLayoutSummary {
  bool present = false;
  std::optional<std::string> saved_at;

  bool operator==(const SavedLayoutSummary&) const = default;
};

SavedLayoutSummary SummaryOf(const SavedLayoutRead& saved);

// A file that cannot be read is found Unreadable, one that does not read
// whole Damaged.
SavedLayoutRead ReadLayoutFile(LayoutStorage& storage);
// None when there is no record, or one that cannot be read or does not read
// whole, or one an older Corvella wrote, which names no layout: each counts
// as none.
std::optional<RecordedPicture> ReadPictureRecord(LayoutStorage& storage);

enum class WriteOutcome {
  Written,
  Failed,    // the file stays as it was; so does a layout the file cannot hold
  DiskFull,  // the disk had no room for the file
};

// Replaces the saved file; the text it replaces stays as the previous one.
WriteOutcome WriteLayoutFile(LayoutStorage& storage, const SavedLayout& layout);
// Each true when the storage did what was asked.
bool WritePictureRecord(LayoutStorage& storage, const RecordedPicture& record);
bool ForgetPictureRecord(LayoutStorage& storage);
// A newer Corvella's layout goes aside before a save replaces it.
bool KeepNewerLayoutAside(LayoutStorage& storage);
// The saved file becomes the backup, so that the next save takes the
// desktop's layout afresh.
bool RetireLayoutFile(LayoutStorage& storage);

}  // namespace corvella
