#include "restore/layout_files.hpp"

#include <utility>

#include "core/attempt.hpp"

namespace corvella {
namespace {

// The record's first line; the picture follows in the saved layout's format.
constexpr std::string_view kRecordHeader = "corvella-picture 1\t";

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
  return SavedLayoutSummary{true, FormatSavedTime(saved.layout->saved_at)};
}

SavedLayoutRead ReadLayoutFile(LayoutStorage& storage) {
  std::optional<std::string> text;
  if (FailureOf([&] { text = storage.Load(); }))
    return SavedLayoutRead{SavedLayoutRead::Found::Unreadable, std::nullopt};
  if (!text) return {};
  ParsedLayout parsed = ParseSavedLayout(*text);
  if (!parsed.layout) {
    return SavedLayoutRead{SavedLayoutRead::Found::Damaged, std::nullopt, parsed.fault == LayoutFault::UnknownVersion};
  }
  return SavedLayoutRead{SavedLayoutRead::Found::Layout, std::move(parsed.layout)};
}

std::optional<RecordedPicture> ReadPictureRecord(LayoutStorage& storage) {
  std::optional<std::string> text;
  if (FailureOf([&] { text = storage.LoadPicture(); }) || !text) return std::nullopt;
  const std::size_t header_end = text->find('\n');
  if (!text->starts_with(kRecordHeader) || header_end == std::string::npos) return std::nullopt;
  std::optional<SavedLayout> picture = ParseSavedLayout(std::string_view(*text).substr(header_end + 1)).layout;
  if (!picture) return std::nullopt;
  return RecordedPicture{std::move(*picture), text->substr(kRecordHeader.size(), header_end - kRecordHeader.size())};
}

// Formatting is a step of the write: a layout the file cannot hold leaves
// the file as it was, as a write that fails does.
WriteOutcome WriteLayoutFile(LayoutStorage& storage, const SavedLayout& layout) {
  const std::optional<RuntimeErrorKind> failure = FailureOf([&] { storage.Save(FormatSavedLayout(layout)); });
  if (!failure) return WriteOutcome::Written;
  return *failure == RuntimeErrorKind::DiskFull ? WriteOutcome::DiskFull : WriteOutcome::Failed;
}

bool WritePictureRecord(LayoutStorage& storage, const RecordedPicture& record) {
  return !FailureOf([&] {
    storage.SavePicture(std::string(kRecordHeader) + record.drawn_over + "\n" + FormatSavedLayout(record.picture));
  });
}

bool ForgetPictureRecord(LayoutStorage& storage) {
  return !FailureOf([&] { storage.ForgetPicture(); });
}

bool KeepNewerLayoutAside(LayoutStorage& storage) {
  return !FailureOf([&] { storage.KeepNewer(); });
}

bool RetireLayoutFile(LayoutStorage& storage) {
  return !FailureOf([&] { storage.MarkRestored(); });
}

}  // namespace corvella
