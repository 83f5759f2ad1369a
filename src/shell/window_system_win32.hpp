// The window-system services over user32. Messages go with a time-out, so
// that a shell that stops answering never freezes the program's window.
#pragma once

#include "shell/hung_windows.hpp"
#include "shell/window_system.hpp"

namespace corvella {

class Win32WindowSystem final : public WindowSystem {
 public:
  WindowHandle FindWindowByClass(const char* class_name) override;
  WindowHandle FindChildWindowByClass(WindowHandle parent, WindowHandle child_after, const char* class_name) override;
  std::int32_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam,
                                 std::int32_t lparam) override;
  void PostWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam) override;
  WindowSize ClientSize(WindowHandle window) override;
  std::uint32_t WindowStyle(WindowHandle window) override;
  void RepaintWindow(WindowHandle window) override;
  WindowPoint PrimaryWorkAreaOrigin() override;
  std::vector<WindowRect> MonitorWorkAreas() override;
  WindowPoint ScreenToClient(WindowHandle window, WindowPoint screen) override;

 private:
  HungWindows hung_;
};

}  // namespace corvella
