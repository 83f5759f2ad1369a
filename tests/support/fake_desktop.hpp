// An in-memory desktop for tests: windows by class with parent/child links,
// list views that hold N named items and apply valid positions, and a log of
// every message that reaches any window, in order, and of every repaint. Its
// view lives in a process of its own, whose buffers the messages that carry
// a pointer reach, as the shell's view does: LVITEMW and POINT bytes decoded
// for its bitness. Behind its desktop stands the shell's folder view, which
// runs each piece of work on a thread of its own, as the shell's does.
#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "fake_view_process.hpp"
#include "shell/folder_view.hpp"
#include "shell/window_system.hpp"

namespace corvella::testing {

struct SentMessage {
  WindowHandle window;
  std::uint32_t message;
  std::uint32_t wparam;
  std::int32_t lparam;

  bool operator==(const SentMessage&) const = default;
};

struct ItemPosition {
  std::int16_t x;
  std::int16_t y;

  bool operator==(const ItemPosition&) const = default;
};

// A list view item as the view holds it: its display name (UTF-8 here) and
// its position, which LVM_SETITEMPOSITION32 may set beyond 16 bits.
struct ListItem {
  std::string name;
  std::int32_t x = 0;
  std::int32_t y = 0;

  bool operator==(const ListItem&) const = default;
};

// A repaint of a window, and how many messages the log held when it came.
struct Repaint {
  WindowHandle window;
  std::size_t after_messages;

  bool operator==(const Repaint&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ItemPosition& p) {
  return out << '(' << p.x << ", " << p.y << ')';
}

inline std::ostream& operator<<(std::ostream& out, const ListItem& item) {
  return out << '"' << item.name << "\" (" << item.x << ", " << item.y << ')';
}

inline std::ostream& operator<<(std::ostream& out, const SentMessage& m) {
  return out << "{window " << m.window << ", message 0x" << std::hex << m.message << std::dec << ", wparam " << m.wparam
             << ", lparam " << m.lparam << '}';
}

class FakeDesktop final : public WindowSystem, public FolderViewHost, public FolderView {
 public:
  explicit FakeDesktop(ProcessBitness bitness = ProcessBitness::Bits32) : process_(bitness) {}
  // Lets a hung folder view's calls fail and waits for their threads.
  ~FakeDesktop() override { going_.set_value(); }

  // The folder view of the last desktop added: it holds the list view's items
  // where the list view shows them, unless told otherwise.
  struct FolderViewState {
    bool found = true;                              // the shell's chain leads to it
    std::int32_t extra_items = 0;                   // it counts more items than the list view
    std::map<std::int32_t, WindowPoint> elsewhere;  // it shows these items elsewhere
    bool refuses = false;                           // every call fails
    bool hangs = false;                             // no call returns while the desktop lasts
  };
  FolderViewState folder_view;
  // Each positioning it took, in order.
  [[nodiscard]] const std::vector<std::vector<ItemMove>>& FolderViewPositioned() const { return positioned_; }

  // The process that owns the desktop's view, and the buffers in it.
  [[nodiscard]] FakeViewProcess& process() { return process_; }

  // Adds a window (parent 0: top-level) and returns its handle.
  WindowHandle AddWindow(const std::string& class_name, WindowHandle parent = 0);
  // Makes the window a list view holding item_count items at (0, 0).
  void MakeListView(WindowHandle window, std::int32_t item_count);
  // Lets the item count follow something else, as the shell's follows the
  // desktop folder; positions of items that appear start at (0, 0).
  void SetItemCountSource(WindowHandle window, std::function<std::int32_t()> source);

  // The shell's usual desktop: Progman > SHELLDLL_DefView > SysListView32.
  WindowHandle AddShellDesktop(std::int32_t item_count);
  // Current Windows after a slideshow: the view under a top-level WorkerW.
  WindowHandle AddWorkerWDesktop(std::int32_t item_count);

  [[nodiscard]] const std::vector<SentMessage>& messages() const { return messages_; }
  [[nodiscard]] const std::vector<SentMessage>& posted_messages() const { return posted_; }
  // Clears the repaints with the messages they are counted against.
  void ClearMessages() {
    messages_.clear();
    posted_.clear();
    repaints_.clear();
  }
  // The positions in 16 bits each, as LVM_SETITEMPOSITION sets them.
  [[nodiscard]] std::vector<testing::ItemPosition> Positions(WindowHandle list_view);
  [[nodiscard]] bool IsListView(WindowHandle window);
  // The list view's items in index order, to name and place them.
  [[nodiscard]] std::vector<ListItem>& Items(WindowHandle list_view);
  void SetClientSize(WindowHandle window, WindowSize size);
  // A list view answers LVM_GETITEMSPACING with cy * 65536 + cx; 75 by 75,
  // the classic spacing of 32-pixel icons, unless set.
  void SetIconSpacing(WindowHandle list_view, std::uint32_t answer);
  // The top-left corner of the main screen's work area; (0, 0) unless set.
  void SetWorkAreaOrigin(WindowPoint screen) { work_area_origin_ = screen; }
  // The window's style and, for a list view, its extended style.
  void SetStyles(WindowHandle window, std::uint32_t style, std::uint32_t extended_style);
  [[nodiscard]] const std::vector<Repaint>& repaints() const { return repaints_; }

  // The view hands this item's text back through a pointer to a copy of
  // its own, outside the program's buffer, as a list view may.
  void PointTextElsewhere(std::int32_t index) { text_elsewhere_.insert(index); }
  // The message of this kind after `after` others fails, as one that times
  // out; it never reaches the view. A view that hangs then answers no later
  // message, but what is posted to it reaches it all the same.
  void FailMessage(std::uint32_t message, std::size_t after = 0, bool view_hangs = false) {
    failure_ = Failure{message, after, view_hangs};
  }
  // The view is gone at the message of this kind after `after` others, as
  // while Explorer restarts: that message and every later one fail, and no
  // lookup finds it.
  void LoseAt(std::uint32_t message, std::size_t after) { failure_ = Failure{message, after, false, true}; }
  // The list view's last item goes just before the message of this kind
  // after `after` others reaches it, as a file's item goes when it is moved.
  void DropLastItemAt(std::uint32_t message, std::size_t after) { drop_ = Failure{message, after}; }
  [[nodiscard]] bool RedrawOn(WindowHandle view) const { return !redraw_off_.contains(view); }
  // Every lookup of a top-level window by class fails, as a window system
  // that cannot be asked; the lookups of children still answer.
  void FailTopLevelLookups() { top_level_lookups_fail_ = true; }

  WindowHandle FindWindowByClass(const char* class_name) override;
  WindowHandle FindChildWindowByClass(WindowHandle parent, WindowHandle child_after, const char* class_name) override;
  std::int32_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam,
                                 std::int32_t lparam) override;
  void PostWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam) override;
  // Both raise a RuntimeError for a handle the desktop does not hold, as
  // the window system does.
  WindowSize ClientSize(WindowHandle window) override;
  std::uint32_t WindowStyle(WindowHandle window) override;
  void RepaintWindow(WindowHandle window) override;
  WindowPoint PrimaryWorkAreaOrigin() override { return work_area_origin_; }
  // No monitor shows the view, so a restore brings no icon onto it.
  std::vector<WindowRect> MonitorWorkAreas() override { return {}; }
  // A RuntimeError for a handle the desktop does not hold, 0 included.
  WindowPoint ScreenToClient(WindowHandle window, WindowPoint screen) override;

  FolderViewRun Run(std::function<bool(FolderView&)> work, std::uint32_t wait_ms) override;
  std::optional<std::int32_t> ItemCount() override;
  std::optional<WindowPoint> ItemPosition(std::int32_t index) override;
  bool PositionItems(std::span<const ItemMove> moves) override;

 private:
  struct Window {
    WindowHandle handle = 0;
    std::string class_name;
    WindowHandle parent = 0;
    bool is_list_view = false;
    std::vector<ListItem> items;
    WindowSize size;
    std::uint32_t style = 0;
    std::uint32_t extended_style = 0;
    std::function<std::int32_t()> item_count_source;
    std::uint32_t icon_spacing = 75 * 65536 + 75;
  };
  struct Failure {
    std::uint32_t message;
    std::size_t after;
    bool hangs = false;
    bool gone = false;
  };

  Window* Find(WindowHandle handle);
  Window& Existing(WindowHandle handle);
  void SyncItems(Window& window);
  std::int32_t Answer(Window& list, std::uint32_t message, std::uint32_t wparam, std::int32_t lparam);

  // The address an lParam reaches in the view's process: a 64-bit view
  // sign-extends it.
  [[nodiscard]] std::uint64_t Reach(std::int32_t lparam) const;
  void SetRedraw(WindowHandle window, std::uint32_t on);
  std::int32_t GetItemText(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam);
  std::int32_t GetItemPosition(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam);
  std::int32_t SetItemPosition32(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam);

  FakeViewProcess process_;
  std::vector<Window> windows_;
  std::vector<SentMessage> messages_;
  std::vector<SentMessage> posted_;
  std::vector<Repaint> repaints_;
  WindowPoint work_area_origin_;
  std::set<std::int32_t> text_elsewhere_;
  std::optional<Failure> failure_;
  std::optional<Failure> drop_;
  std::set<WindowHandle> lost_;
  bool hung_ = false;
  bool top_level_lookups_fail_ = false;
  std::set<WindowHandle> redraw_off_;

  bool FolderViewAnswers();
  WindowHandle desktop_list_ = 0;
  std::vector<std::vector<ItemMove>> positioned_;
  std::promise<void> going_;
  std::shared_future<void> gone_ = going_.get_future().share();
  std::vector<std::future<bool>> works_;  // last, so that the threads end before the rest goes
};

}  // namespace corvella::testing
