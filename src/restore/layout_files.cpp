#include "restore/layout_files.hpp"

#include <utility>

#include "core/attempt.hpp"

namespace corvella {

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
  return SavedLayoutSummary{true, FormatSavedTime(saved.layout->saved_at)};
}

SavedLayoutRead ReadLayoutFile(LayoutStorage& storage) {
  std::optional<std::string> text;
  if (FailureOf([&] { text = storage.Load(); }))
    return SavedLayoutRead{SavedLayoutRead::Found::Unreadable, std::nullopt};
  if (!text) return {};
  ParsedLayout parsed = ParseSavedLayout(*text);
  if (!parsed.layout) return SavedLayoutRead{SavedLayoutRead::Found::Damaged, std::nullopt};
  return SavedLayoutRead{SavedLayoutRead::Found::Layout, std::move(parsed.layout)};
}

std::optional<SavedLayout> ReadPictureRecord(LayoutStorage& storage) {
  std::optional<std::string> text;
  if (FailureOf([&] { text = storage.LoadPicture(); }) || !text) return std::nullopt;
  return ParseSavedLayout(*text).layout;
}

// Formatting is a step of the write: a layout the file cannot hold leaves
// the file as it was, as a write that fails does.
WriteOutcome WriteLayoutFile(LayoutStorage& storage, const SavedLayout& layout) {
  const std::optional<RuntimeErrorKind> failure = FailureOf([&] { storage.Save(FormatSavedLayout(layout)); });
  if (!failure) return WriteOutcome::Written;
  return *failure == RuntimeErrorKind::DiskFull ? WriteOutcome::DiskFull : WriteOutcome::Failed;
}

bool WritePictureRecord(LayoutStorage& storage, const SavedLayout& picture) {
  return !FailureOf([&] { storage.SavePicture(FormatSavedLayout(picture)); });
}

bool ForgetPictureRecord(LayoutStorage& storage) {
  return !FailureOf([&] { storage.ForgetPicture(); });
}

bool RetireLayoutFile(LayoutStorage& storage) {
  return !FailureOf([&] { storage.MarkRestored(); });
}

}  // namespace corvella
