#include "fake_shell_desktop.hpp"

#include <algorithm>

#include "core/little_endian.hpp"
#include "core/runtime_error.hpp"
#include "core/unicode.hpp"

namespace corvella::testing {
namespace {

// The messages as the view knows them, written out here on their own so
// that a wrong number on the program's side shows.
constexpr std::uint32_t kSetRedraw = 0x000B;
constexpr std::uint32_t kGetItemPosition = 0x1010;
constexpr std::uint32_t kSetItemPosition32 = 0x1031;
constexpr std::uint32_t kGetItemTextW = 0x1073;
constexpr std::uint32_t kTextMask = 0x0001;

// LVITEMW's fields that the view reads: mask at 0 and iSubItem at 8 in both
// layouts; pszText and cchTextMax where the pointer's width puts them.
struct LvItemFields {
  std::size_t size;
  std::size_t text;
  std::size_t text_width;
  std::size_t text_max;
};
constexpr LvItemFields kLvItem32{60, 20, 4, 24};
constexpr LvItemFields kLvItem64{88, 24, 8, 32};

// Where the view keeps its own copy of the texts, clear of any buffer.
constexpr std::uint64_t kViewsOwnText = 0x00100000;

}  // namespace

WindowHandle FakeShellDesktop::FindWindowByClass(const char* class_name) {
  return desktop_.FindWindowByClass(class_name);
}

WindowHandle FakeShellDesktop::FindChildWindowByClass(WindowHandle parent, WindowHandle child_after,
                                                      const char* class_name) {
  return desktop_.FindChildWindowByClass(parent, child_after, class_name);
}

std::int32_t FakeShellDesktop::SendWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam,
                                                 std::int32_t lparam) {
  if (failure_ && failure_->message == message && failure_->after-- == 0) {
    hung_ = failure_->hangs;
    failure_.reset();
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "the view did not answer");
  }
  if (hung_) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "the view does not answer");
  const std::int32_t answer = desktop_.SendWindowMessage(window, message, wparam, lparam);
  if (!desktop_.IsListView(window)) return answer;
  std::vector<ListItem>& items = desktop_.Items(window);
  switch (message) {
    case kSetRedraw:
      SetRedraw(window, wparam);
      return 0;
    case kGetItemTextW:
      return GetItemText(items, wparam, lparam);
    case kGetItemPosition:
      return GetItemPosition(items, wparam, lparam);
    case kSetItemPosition32:
      return SetItemPosition32(items, wparam, lparam);
    default:
      return answer;
  }
}

void FakeShellDesktop::PostWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam) {
  desktop_.PostWindowMessage(window, message, wparam);
  if (message == kSetRedraw && desktop_.IsListView(window)) SetRedraw(window, wparam);
}

WindowSize FakeShellDesktop::ClientSize(WindowHandle window) { return desktop_.ClientSize(window); }

std::uint32_t FakeShellDesktop::WindowStyle(WindowHandle window) { return desktop_.WindowStyle(window); }

void FakeShellDesktop::RepaintWindow(WindowHandle window) { desktop_.RepaintWindow(window); }

std::uint64_t FakeShellDesktop::Reach(std::int32_t lparam) const {
  return process_.bitness() == ProcessBitness::Bits64 ? static_cast<std::uint64_t>(static_cast<std::int64_t>(lparam))
                                                      : static_cast<std::uint32_t>(lparam);
}

void FakeShellDesktop::SetRedraw(WindowHandle window, std::uint32_t on) {
  if (on == 0) {
    redraw_off_.insert(window);
  } else {
    redraw_off_.erase(window);
  }
}

std::int32_t FakeShellDesktop::GetItemText(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam) {
  const LvItemFields& fields = process_.bitness() == ProcessBitness::Bits64 ? kLvItem64 : kLvItem32;
  const std::span<std::uint8_t> record = process_.At(Reach(lparam), fields.size);
  if (index >= items.size() || (GetLittleEndian(record, 0, 4) & kTextMask) == 0 || GetLittleEndian(record, 8, 4) != 0) {
    return 0;
  }
  if (text_elsewhere_.contains(static_cast<std::int32_t>(index))) {
    PutLittleEndian(record, fields.text, fields.text_width, kViewsOwnText);
    return 0;
  }
  const auto room = static_cast<std::int32_t>(GetLittleEndian(record, fields.text_max, 4));
  if (room <= 0) return 0;
  std::u16string text = Utf8ToUtf16(items[index].name);
  text.resize(std::min(text.size(), static_cast<std::size_t>(room - 1)));
  const std::span<std::uint8_t> out =
      process_.At(GetLittleEndian(record, fields.text, fields.text_width), (text.size() + 1) * 2);
  for (std::size_t i = 0; i <= text.size(); ++i) PutLittleEndian(out, i * 2, 2, i < text.size() ? text[i] : 0);
  return static_cast<std::int32_t>(text.size());
}

std::int32_t FakeShellDesktop::GetItemPosition(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam) {
  if (index >= items.size()) return 0;
  const std::span<std::uint8_t> point = process_.At(Reach(lparam), 8);
  PutLittleEndian(point, 0, 4, static_cast<std::uint32_t>(items[index].x));
  PutLittleEndian(point, 4, 4, static_cast<std::uint32_t>(items[index].y));
  return 1;
}

std::int32_t FakeShellDesktop::SetItemPosition32(std::vector<ListItem>& items, std::uint32_t index,
                                                 std::int32_t lparam) {
  if (index >= items.size()) return 0;
  const std::span<std::uint8_t> point = process_.At(Reach(lparam), 8);
  items[index].x = static_cast<std::int32_t>(GetLittleEndian(point, 0, 4));
  items[index].y = static_cast<std::int32_t>(GetLittleEndian(point, 4, 4));
  return 1;
}

}  // namespace corvella::testing
