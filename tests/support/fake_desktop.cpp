#include "fake_desktop.hpp"

#include <algorithm>
#include <cctype>
#include <chrono>

#include "core/little_endian.hpp"
#include "core/runtime_error.hpp"
#include "core/unicode.hpp"

namespace corvella::testing {
namespace {

// The messages that point into the view's process, written out here on
// their own so that a wrong number on the program's side shows.
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

bool SameClass(const std::string& a, const char* b) {
  const std::string other(b);
  return std::equal(a.begin(), a.end(), other.begin(), other.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

// Handles look like real ones: even, non-zero, far from small indexes.
constexpr WindowHandle kFirstHandle = 0x10010;
constexpr WindowHandle kHandleStep = 0x10;

}  // namespace

WindowHandle FakeDesktop::AddWindow(const std::string& class_name, WindowHandle parent) {
  const WindowHandle handle = kFirstHandle + kHandleStep * static_cast<WindowHandle>(windows_.size());
  Window window;
  window.handle = handle;
  window.class_name = class_name;
  window.parent = parent;
  windows_.push_back(std::move(window));
  return handle;
}

void FakeDesktop::MakeListView(WindowHandle window, std::int32_t item_count) {
  Window* list = Find(window);
  list->is_list_view = true;
  list->items.assign(static_cast<std::size_t>(item_count), ListItem{});
}

void FakeDesktop::SetItemCountSource(WindowHandle window, std::function<std::int32_t()> source) {
  Find(window)->item_count_source = std::move(source);
}

WindowHandle FakeDesktop::AddShellDesktop(std::int32_t item_count) {
  const WindowHandle progman = AddWindow("Progman");
  const WindowHandle shell_view = AddWindow("SHELLDLL_DefView", progman);
  const WindowHandle list = AddWindow("SysListView32", shell_view);
  MakeListView(list, item_count);
  desktop_list_ = list;
  return list;
}

WindowHandle FakeDesktop::AddWorkerWDesktop(std::int32_t item_count) {
  AddWindow("Progman");
  AddWindow("WorkerW");  // the empty WorkerW that draws the wallpaper
  const WindowHandle worker = AddWindow("WorkerW");
  const WindowHandle shell_view = AddWindow("SHELLDLL_DefView", worker);
  const WindowHandle list = AddWindow("SysListView32", shell_view);
  MakeListView(list, item_count);
  desktop_list_ = list;
  return list;
}

std::vector<ItemPosition> FakeDesktop::Positions(WindowHandle list_view) {
  std::vector<testing::ItemPosition> positions;
  for (const ListItem& item : Items(list_view)) {
    positions.push_back(testing::ItemPosition{static_cast<std::int16_t>(item.x), static_cast<std::int16_t>(item.y)});
  }
  return positions;
}

bool FakeDesktop::IsListView(WindowHandle window) {
  const Window* found = Find(window);
  return found != nullptr && found->is_list_view;
}

std::vector<ListItem>& FakeDesktop::Items(WindowHandle list_view) {
  Window& list = Existing(list_view);
  SyncItems(list);
  return list.items;
}

void FakeDesktop::SetClientSize(WindowHandle window, WindowSize size) { Existing(window).size = size; }

WindowSize FakeDesktop::ClientSize(WindowHandle window) { return Existing(window).size; }

void FakeDesktop::SetIconSpacing(WindowHandle list_view, std::uint32_t answer) {
  Existing(list_view).icon_spacing = answer;
}

// Every window's client area starts at the screen's (0, 0).
WindowPoint FakeDesktop::ScreenToClient(WindowHandle window, WindowPoint screen) {
  Existing(window);
  return screen;
}

void FakeDesktop::SetStyles(WindowHandle window, std::uint32_t style, std::uint32_t extended_style) {
  Window& target = Existing(window);
  target.style = style;
  target.extended_style = extended_style;
}

std::uint32_t FakeDesktop::WindowStyle(WindowHandle window) { return Existing(window).style; }

void FakeDesktop::RepaintWindow(WindowHandle window) {
  Existing(window);
  repaints_.push_back(Repaint{window, messages_.size()});
}

WindowHandle FakeDesktop::FindWindowByClass(const char* class_name) {
  if (top_level_lookups_fail_) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "lookup failed");
  return FindChildWindowByClass(0, 0, class_name);
}

WindowHandle FakeDesktop::FindChildWindowByClass(WindowHandle parent, WindowHandle child_after,
                                                 const char* class_name) {
  auto it = windows_.begin();
  if (child_after != 0) {
    it = std::find_if(windows_.begin(), windows_.end(), [&](const Window& w) { return w.handle == child_after; });
    if (it == windows_.end()) {
      return 0;
    }
    ++it;
  }
  const auto found = std::find_if(it, windows_.end(), [&](const Window& w) {
    return w.parent == parent && SameClass(w.class_name, class_name) && !lost_.contains(w.handle);
  });
  return found == windows_.end() ? 0 : found->handle;
}

std::int32_t FakeDesktop::SendWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam,
                                            std::int32_t lparam) {
  if (failure_ && failure_->message == message && failure_->after-- == 0) {
    hung_ = failure_->hangs;
    if (failure_->gone) lost_.insert(window);
    failure_.reset();
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "the view did not answer");
  }
  if (hung_ || lost_.contains(window)) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "the view does not answer");
  if (drop_ && drop_->message == message && drop_->after-- == 0) {
    Existing(window).items.pop_back();
    drop_.reset();
  }
  messages_.push_back(SentMessage{window, message, wparam, lparam});
  Window* target = Find(window);
  if (target == nullptr || !target->is_list_view) {
    return 0;
  }
  SyncItems(*target);
  return Answer(*target, message, wparam, lparam);
}

std::int32_t FakeDesktop::Answer(Window& list, std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) {
  switch (message) {
    case list_view::kGetItemCount:
      return static_cast<std::int32_t>(list.items.size());
    case list_view::kGetItemSpacing:
      return static_cast<std::int32_t>(list.icon_spacing);
    case list_view::kGetExtendedStyle:
      return static_cast<std::int32_t>(list.extended_style);
    case list_view::kSetItemPosition: {
      if (wparam >= list.items.size()) return 0;
      // The view reads x from the low and y from the high 16 bits.
      const auto packed = static_cast<std::uint32_t>(lparam);
      ListItem& item = list.items[wparam];
      item.x = static_cast<std::int16_t>(packed & 0xFFFF);
      item.y = static_cast<std::int16_t>(packed >> 16);
      return 1;
    }
    case kSetRedraw:
      SetRedraw(list.handle, wparam);
      return 0;
    case kGetItemTextW:
      return GetItemText(list.items, wparam, lparam);
    case kGetItemPosition:
      return GetItemPosition(list.items, wparam, lparam);
    case kSetItemPosition32:
      return SetItemPosition32(list.items, wparam, lparam);
    default:
      return 0;
  }
}

void FakeDesktop::PostWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam) {
  Existing(window);
  posted_.push_back(SentMessage{window, message, wparam, 0});
  if (message == kSetRedraw && IsListView(window)) SetRedraw(window, wparam);
}

FakeDesktop::Window* FakeDesktop::Find(WindowHandle handle) {
  const auto it = std::find_if(windows_.begin(), windows_.end(), [&](const Window& w) { return w.handle == handle; });
  return it == windows_.end() ? nullptr : &*it;
}

FakeDesktop::Window& FakeDesktop::Existing(WindowHandle handle) {
  Window* window = Find(handle);
  if (window == nullptr) {
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "no window " + std::to_string(handle));
  }
  return *window;
}

void FakeDesktop::SyncItems(Window& window) {
  if (window.item_count_source) {
    window.items.resize(static_cast<std::size_t>(window.item_count_source()));
  }
}

std::uint64_t FakeDesktop::Reach(std::int32_t lparam) const {
  return process_.bitness() == ProcessBitness::Bits64 ? static_cast<std::uint64_t>(static_cast<std::int64_t>(lparam))
                                                      : static_cast<std::uint32_t>(lparam);
}

void FakeDesktop::SetRedraw(WindowHandle window, std::uint32_t on) {
  if (on == 0) {
    redraw_off_.insert(window);
  } else {
    redraw_off_.erase(window);
  }
}

std::int32_t FakeDesktop::GetItemText(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam) {
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

std::int32_t FakeDesktop::GetItemPosition(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam) {
  if (index >= items.size()) return 0;
  const std::span<std::uint8_t> point = process_.At(Reach(lparam), 8);
  PutLittleEndian(point, 0, 4, static_cast<std::uint32_t>(items[index].x));
  PutLittleEndian(point, 4, 4, static_cast<std::uint32_t>(items[index].y));
  return 1;
}

std::int32_t FakeDesktop::SetItemPosition32(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam) {
  if (index >= items.size()) return 0;
  const std::span<std::uint8_t> point = process_.At(Reach(lparam), 8);
  items[index].x = static_cast<std::int32_t>(GetLittleEndian(point, 0, 4));
  items[index].y = static_cast<std::int32_t>(GetLittleEndian(point, 4, 4));
  return 1;
}

FolderViewRun FakeDesktop::Run(std::function<bool(FolderView&)> work, std::uint32_t wait_ms) {
  if (!folder_view.found || desktop_list_ == 0) return FolderViewRun::Declined;
  works_.push_back(std::async(std::launch::async, [this, work = std::move(work)] { return work(*this); }));
  if (works_.back().wait_for(std::chrono::milliseconds(wait_ms)) != std::future_status::ready) {
    return FolderViewRun::TimedOut;
  }
  return works_.back().get() ? FolderViewRun::Done : FolderViewRun::Declined;
}

// A hung view's call returns only when the desktop goes, and fails then.
bool FakeDesktop::FolderViewAnswers() {
  if (!folder_view.hangs) return !folder_view.refuses;
  gone_.wait();
  return false;
}

std::optional<std::int32_t> FakeDesktop::ItemCount() {
  if (!FolderViewAnswers()) return std::nullopt;
  return static_cast<std::int32_t>(Items(desktop_list_).size()) + folder_view.extra_items;
}

std::optional<WindowPoint> FakeDesktop::ItemPosition(std::int32_t index) {
  const auto at = static_cast<std::size_t>(index);
  if (!FolderViewAnswers() || index < 0 || at >= Items(desktop_list_).size()) return std::nullopt;
  if (folder_view.elsewhere.contains(index)) return folder_view.elsewhere[index];
  return WindowPoint{Items(desktop_list_)[at].x, Items(desktop_list_)[at].y};
}

bool FakeDesktop::PositionItems(std::span<const ItemMove> moves) {
  if (!FolderViewAnswers()) return false;
  positioned_.emplace_back(moves.begin(), moves.end());
  return true;
}

}  // namespace corvella::testing
