// The in-memory desktop answering, as the shell's view does, the messages
// that point into the view's process: LVITEMW and POINT bytes decoded for
// its bitness. Every message still reaches the desktop, which logs it.
#pragma once

#include <cstdint>
#include <optional>
#include <set>

#include "fake_desktop.hpp"
#include "fake_view_process.hpp"

namespace corvella::testing {

class FakeShellDesktop final : public WindowSystem {
 public:
  FakeShellDesktop(FakeDesktop& desktop, FakeViewProcess& process) : desktop_(desktop), process_(process) {}

  // The view hands this item's text back through a pointer to a copy of
  // its own, outside the program's buffer, as a list view may.
  void PointTextElsewhere(std::int32_t index) { text_elsewhere_.insert(index); }
  // The message of this kind after `after` others fails, as one that times
  // out; it never reaches the view. A view that hangs then answers no later
  // message, but what is posted to it reaches it all the same.
  void FailMessage(std::uint32_t message, std::size_t after = 0, bool view_hangs = false) {
    failure_ = Failure{message, after, view_hangs};
  }
  [[nodiscard]] bool RedrawOn(WindowHandle view) const { return !redraw_off_.contains(view); }

  WindowHandle FindWindowByClass(const char* class_name) override;
  WindowHandle FindChildWindowByClass(WindowHandle parent, WindowHandle child_after, const char* class_name) override;
  std::int32_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam,
                                 std::int32_t lparam) override;
  void PostWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam) override;
  WindowSize ClientSize(WindowHandle window) override;
  std::uint32_t WindowStyle(WindowHandle window) override;
  void RepaintWindow(WindowHandle window) override;
  WindowPoint PrimaryWorkAreaOrigin() override { return desktop_.PrimaryWorkAreaOrigin(); }
  WindowPoint ScreenToClient(WindowHandle window, WindowPoint screen) override {
    return desktop_.ScreenToClient(window, screen);
  }

 private:
  struct Failure {
    std::uint32_t message;
    std::size_t after;
    bool hangs;
  };

  // The address an lParam reaches in the view's process: a 64-bit view
  // sign-extends it.
  [[nodiscard]] std::uint64_t Reach(std::int32_t lparam) const;
  void SetRedraw(WindowHandle window, std::uint32_t on);
  std::int32_t GetItemText(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam);
  std::int32_t GetItemPosition(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam);
  std::int32_t SetItemPosition32(std::vector<ListItem>& items, std::uint32_t index, std::int32_t lparam);

  FakeDesktop& desktop_;
  FakeViewProcess& process_;
  std::set<std::int32_t> text_elsewhere_;
  std::optional<Failure> failure_;
  bool hung_ = false;
  std::set<WindowHandle> redraw_off_;
};

}  // namespace corvella::testing
