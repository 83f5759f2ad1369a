// The window-system services through which the program finds, drives and
// measures the shell's desktop list view. The Win32 implementation calls
// user32; tests use an in-memory desktop.
#pragma once

#include <cstdint>

namespace corvella {

// A 32-bit window handle; 0 is "no window" (and, as a parent, the desktop).
using WindowHandle = std::uint32_t;

inline constexpr std::uint32_t LVM_GETITEMCOUNT = 0x1004;
inline constexpr std::uint32_t LVM_SETITEMPOSITION = 0x100F;

// A window's client area in pixels.
struct WindowSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // First top-level window of the class (names compare without case), or 0.
  virtual WindowHandle FindWindowByClass(const char* class_name) = 0;
  // First child of parent after child_after with the class, or 0. Parent 0
  // searches the top-level windows.
  virtual WindowHandle FindChildWindowByClass(WindowHandle parent, WindowHandle child_after,
                                              const char* class_name) = 0;
  // Sends synchronously and returns the window's answer; 0 for handle 0.
  virtual std::int32_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam,
                                         std::int32_t lparam) = 0;
  // Raises a RuntimeError (ServiceFailure) when the window has no client area to report.
  virtual WindowSize ClientSize(WindowHandle window) = 0;
  // Repaints the window and its children at once, background included.
  // Raises a RuntimeError (ServiceFailure) when the window cannot be redrawn.
  virtual void RepaintWindow(WindowHandle window) = 0;
};

}  // namespace corvella
