#include "restore/saved_layout.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <span>
#include <string>
#include <utility>

#include "core/runtime_error.hpp"
#include "core/unicode.hpp"

namespace corvella {
namespace {

constexpr std::string_view kMagic = "corvella-layout ";
constexpr std::string_view kFirstVersion = "1";  // no icon grid
constexpr std::string_view kGridVersion = "2";
constexpr char kFieldSeparator = '\t';
constexpr std::size_t kFirstHeaderFields = 4;
constexpr std::size_t kGridHeaderFields = 8;
constexpr std::size_t kItemFields = 4;
constexpr std::size_t kTimeLength = 19;  // YYYY-MM-DD HH:MM:SS

bool IsLeapYear(std::int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) {
  constexpr std::array<std::int32_t, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// A moment the clock could have shown: no year 0, no 31 February, no hour 24.
bool IsSound(const SavedTime& t) {
  return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 &&
         t.second >= 0 && t.second <= 59;
}

// Each character a name escapes, and the letter that follows the backslash.
constexpr std::array<std::pair<char, char>, 4> kEscapes{{{'\t', 't'}, {'\n', 'n'}, {'\r', 'r'}, {'\\', '\\'}}};

void AppendEscaped(std::string& out, std::string_view name) {
  for (const char c : name) {
    const auto escape = std::ranges::find(kEscapes, c, &std::pair<char, char>::first);
    if (escape == kEscapes.end()) {
      out += c;
    } else {
      out += '\\';
      out += escape->second;
    }
  }
}

std::optional<std::string> Unescape(std::string_view field) {
  if (field.find_first_of("\\\r") == std::string_view::npos) return std::string(field);
  std::string name;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\r') return std::nullopt;
    if (field[i] != '\\') {
      name += field[i];
      continue;
    }
    if (++i == field.size()) return std::nullopt;
    const auto escape = std::ranges::find(kEscapes, field[i], &std::pair<char, char>::second);
    if (escape == kEscapes.end()) return std::nullopt;
    name += escape->first;
  }
  return name;
}

bool IsUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!DecodeUtf8(text, pos)) return false;
  }
  return true;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t tab = line.find(kFieldSeparator); tab != std::string_view::npos;
       tab = line.find(kFieldSeparator, start)) {
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

// Only the form FormatSavedLayout writes: no sign but a leading minus, no
// leading zero, no "-0".
std::optional<std::int32_t> ParseInt32(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty() || digits.size() > 10 || (digits.front() == '0' && (digits.size() > 1 || negative))) {
    return std::nullopt;
  }
  std::int64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  value = negative ? -value : value;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseDigits(std::string_view text) {
  std::int32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<SavedTime> ParseSavedTime(std::string_view text) {
  if (text.size() != kTimeLength || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  const auto year = ParseDigits(text.substr(0, 4));
  const auto month = ParseDigits(text.substr(5, 2));
  const auto day = ParseDigits(text.substr(8, 2));
  const auto hour = ParseDigits(text.substr(11, 2));
  const auto minute = ParseDigits(text.substr(14, 2));
  const auto second = ParseDigits(text.substr(17, 2));
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  const SavedTime time{*year, *month, *day, *hour, *minute, *second};
  if (!IsSound(time)) return std::nullopt;
  return time;
}

bool IsSound(const IconGrid& grid) { return grid.spacing_x > 0 && grid.spacing_y > 0; }

std::optional<IconGrid> ParseGrid(std::span<const std::string_view> fields) {
  const auto spacing_x = ParseInt32(fields[0]);
  const auto spacing_y = ParseInt32(fields[1]);
  const auto origin_x = ParseInt32(fields[2]);
  const auto origin_y = ParseInt32(fields[3]);
  if (!spacing_x || !spacing_y || !origin_x || !origin_y) return std::nullopt;
  const IconGrid grid{*spacing_x, *spacing_y, *origin_x, *origin_y};
  if (!IsSound(grid)) return std::nullopt;
  return grid;
}

LayoutFault ParseHeader(std::string_view line, SavedLayout& layout) {
  const std::vector<std::string_view> fields = SplitFields(line);
  if (!fields[0].starts_with(kMagic)) return LayoutFault::NotALayout;
  const std::string_view version = fields[0].substr(kMagic.size());
  if (version != kFirstVersion && version != kGridVersion) return LayoutFault::UnknownVersion;
  if (fields.size() != (version == kGridVersion ? kGridHeaderFields : kFirstHeaderFields)) {
    return LayoutFault::BadHeader;
  }
  const auto time = ParseSavedTime(fields[1]);
  const auto width = ParseInt32(fields[2]);
  const auto height = ParseInt32(fields[3]);
  if (!time || !width || !height || *width < 0 || *height < 0) return LayoutFault::BadHeader;
  layout.saved_at = *time;
  layout.view_width = *width;
  layout.view_height = *height;
  if (version == kGridVersion) {
    layout.grid = ParseGrid(std::span(fields).subspan(kFirstHeaderFields));
    if (!layout.grid) return LayoutFault::BadHeader;
  }
  return LayoutFault::None;
}

LayoutFault ParseItem(std::string_view line, SavedItem& item) {
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() != kItemFields) return LayoutFault::WrongFieldCount;
  std::optional<std::string> name = Unescape(fields[0]);
  if (!name) return LayoutFault::BadEscape;
  if (name->empty()) return LayoutFault::EmptyName;
  if (!IsUtf8(*name)) return LayoutFault::NotUtf8;
  const auto occurrence = ParseInt32(fields[1]);
  const auto x = ParseInt32(fields[2]);
  const auto y = ParseInt32(fields[3]);
  if (!occurrence || *occurrence < 1 || !x || !y) return LayoutFault::BadNumber;
  item = SavedItem{std::move(*name), *occurrence, *x, *y};
  return LayoutFault::None;
}

bool HasDuplicate(const std::vector<SavedItem>& items) {
  std::vector<std::pair<std::string_view, std::int32_t>> keys;
  keys.reserve(items.size());
  for (const SavedItem& item : items) keys.emplace_back(item.name, item.occurrence);
  std::sort(keys.begin(), keys.end());
  return std::adjacent_find(keys.begin(), keys.end()) != keys.end();
}

ParsedLayout Reject(LayoutFault fault) { return ParsedLayout{std::nullopt, fault}; }

}  // namespace

std::string FormatSavedTime(const SavedTime& time) {
  std::array<char, kTimeLength + 1> text{};
  std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d", static_cast<int>(time.year),
                static_cast<int>(time.month), static_cast<int>(time.day), static_cast<int>(time.hour),
                static_cast<int>(time.minute), static_cast<int>(time.second));
  return text.data();
}

std::string FormatSavedLayout(const SavedLayout& layout) {
  if (!IsSound(layout.saved_at) || layout.view_width < 0 || layout.view_height < 0 ||
      (layout.grid && !IsSound(*layout.grid))) {
    throw RuntimeError(RuntimeErrorKind::Overflow, "the layout's time, view size or icon spacing is out of range");
  }
  std::string text(kMagic);
  text += layout.grid ? kGridVersion : kFirstVersion;
  text += kFieldSeparator;
  text += FormatSavedTime(layout.saved_at);
  text += kFieldSeparator;
  text += std::to_string(layout.view_width);
  text += kFieldSeparator;
  text += std::to_string(layout.view_height);
  if (layout.grid) {
    for (const std::int32_t number :
         {layout.grid->spacing_x, layout.grid->spacing_y, layout.grid->origin_x, layout.grid->origin_y}) {
      text += kFieldSeparator;
      text += std::to_string(number);
    }
  }
  text += '\n';
  for (const SavedItem& item : layout.items) {
    AppendEscaped(text, item.name);
    for (const std::int32_t number : {item.occurrence, item.x, item.y}) {
      text += kFieldSeparator;
      text += std::to_string(number);
    }
    text += '\n';
  }
  return text;
}

ParsedLayout ParseSavedLayout(std::string_view text) {
  if (text.empty() || text.back() != '\n') return Reject(LayoutFault::MissingFinalNewline);
  std::size_t line_end = text.find('\n');
  SavedLayout layout;
  if (const LayoutFault fault = ParseHeader(text.substr(0, line_end), layout); fault != LayoutFault::None) {
    return Reject(fault);
  }
  for (std::size_t start = line_end + 1; start < text.size(); start = line_end + 1) {
    line_end = text.find('\n', start);
    SavedItem item;
    if (const LayoutFault fault = ParseItem(text.substr(start, line_end - start), item); fault != LayoutFault::None) {
      return Reject(fault);
    }
    layout.items.push_back(std::move(item));
  }
  if (HasDuplicate(layout.items)) return Reject(LayoutFault::DuplicateItem);
  return ParsedLayout{std::move(layout), LayoutFault::None};
}

}  // namespace corvella
