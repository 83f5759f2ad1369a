#include "fake_desktop.hpp"

#include <algorithm>
#include <cctype>

#include "core/runtime_error.hpp"

namespace corvella::testing {
namespace {

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
  return list;
}

WindowHandle FakeDesktop::AddWorkerWDesktop(std::int32_t item_count) {
  AddWindow("Progman");
  AddWindow("WorkerW");  // the empty WorkerW that draws the wallpaper
  const WindowHandle worker = AddWindow("WorkerW");
  const WindowHandle shell_view = AddWindow("SHELLDLL_DefView", worker);
  const WindowHandle list = AddWindow("SysListView32", shell_view);
  MakeListView(list, item_count);
  return list;
}

std::vector<ItemPosition> FakeDesktop::Positions(WindowHandle list_view) {
  std::vector<ItemPosition> positions;
  for (const ListItem& item : Items(list_view)) {
    positions.push_back(ItemPosition{static_cast<std::int16_t>(item.x), static_cast<std::int16_t>(item.y)});
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

WindowHandle FakeDesktop::FindWindowByClass(const char* class_name) { return FindChildWindowByClass(0, 0, class_name); }

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
  const auto found = std::find_if(
      it, windows_.end(), [&](const Window& w) { return w.parent == parent && SameClass(w.class_name, class_name); });
  return found == windows_.end() ? 0 : found->handle;
}

std::int32_t FakeDesktop::SendWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam,
                                            std::int32_t lparam) {
  messages_.push_back(SentMessage{window, message, wparam, lparam});
  Window* target = Find(window);
  if (target == nullptr || !target->is_list_view) {
    return 0;
  }
  SyncItems(*target);
  if (message == list_view::kGetItemCount) {
    return static_cast<std::int32_t>(target->items.size());
  }
  if (message == list_view::kGetItemSpacing) {
    return static_cast<std::int32_t>(target->icon_spacing);
  }
  if (message == list_view::kGetExtendedStyle) {
    return static_cast<std::int32_t>(target->extended_style);
  }
  if (message == list_view::kSetItemPosition && wparam < target->items.size()) {
    // The view reads x from the low and y from the high 16 bits.
    const auto packed = static_cast<std::uint32_t>(lparam);
    ListItem& item = target->items[wparam];
    item.x = static_cast<std::int16_t>(packed & 0xFFFF);
    item.y = static_cast<std::int16_t>(packed >> 16);
    return 1;
  }
  return 0;
}

void FakeDesktop::PostWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam) {
  Existing(window);
  posted_.push_back(SentMessage{window, message, wparam, 0});
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

}  // namespace corvella::testing
