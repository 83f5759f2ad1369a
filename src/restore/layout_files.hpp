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
// whole: either counts as none.
std::optional<SavedLayout> ReadPictureRecord(LayoutStorage& storage);

enum class WriteOutcome {
  Written,
  Failed,    // the file stays as it was; so does a layout the file cannot hold
  DiskFull,  // the disk had no room for the file
};

// Replaces the saved file; the text it replaces stays as the previous one.
WriteOutcome WriteLayoutFile(LayoutStorage& storage, const SavedLayout& layout);
// Each true when the storage did what was asked.
bool WritePictureRecord(LayoutStorage& storage, const SavedLayout& picture);
bool ForgetPictureRecord(LayoutStorage& storage);
// The saved file becomes the backup, so that the next save takes the
// desktop's layout afresh.
bool RetireLayoutFile(LayoutStorage& storage);

}  // namespace corvella
