// The saved layout file: a first line naming the format, the time it was
// saved, the view's size and, from the second version on, its icon grid;
// then each item's name, occurrence and place. Parsing is strict and whole:
// any fault rejects the entire text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "restore/display_fit.hpp"

namespace corvella {

// Local time, to the second.
struct SavedTime {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;

  bool operator==(const SavedTime&) const = default;
};

// One item: its display name (UTF-8, never empty), which of the items of
// that name it is in index order (1 for the first), and its place.
struct SavedItem {
  std::string name;
  std::int32_t occurrence = 1;
  std::int32_t x = 0;
  std::int32_t y = 0;

  bool operator==(const SavedItem&) const = default;
};

struct SavedLayout {
  SavedTime saved_at;
  std::int32_t view_width = 0;
  std::int32_t view_height = 0;
  std::vector<SavedItem> items;
  // None in a file of the first version, which did not record it.
  std::optional<IconGrid> grid = std::nullopt;

  bool operator==(const SavedLayout&) const = default;
};

enum class LayoutFault {
  None,
  MissingFinalNewline,  // a cut file: the last line has no "\n"
  NotALayout,           // the first field is not "corvella-layout <version>"
  UnknownVersion,
  BadHeader,        // a missing or extra header field, or a time, size or grid that does not read
  WrongFieldCount,  // an item line without exactly four fields
  BadEscape,        // a backslash before anything but t, n, r or \, or a bare carriage return
  NotUtf8,
  EmptyName,
  BadNumber,  // not a plain decimal int32, or an occurrence below 1
  DuplicateItem,
};

struct ParsedLayout {
  std::optional<SavedLayout> layout;  // set only when the whole text is sound
  LayoutFault fault = LayoutFault::None;
};

// "YYYY-MM-DD HH:MM:SS".
std::string FormatSavedTime(const SavedTime& time);

// Expects what ParseSavedLayout accepts: non-empty UTF-8 names, occurrences
// from 1 and no (name, occurrence) twice. Raises a RuntimeError (Overflow)
// for a time, view size or spacing that the file cannot hold. A layout
// without a grid is written in the first version, which readers of that
// version still take.
std::string FormatSavedLayout(const SavedLayout& layout);

ParsedLayout ParseSavedLayout(std::string_view text);

}  // namespace corvella
