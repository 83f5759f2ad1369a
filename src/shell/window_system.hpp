// The window-system services through which the program finds, drives and
// measures the shell's desktop list view. The Win32 implementation calls
// user32; tests use an in-memory desktop.
#pragma once

#include <cstdint>
#include <vector>

namespace corvella {

// A 32-bit window handle; 0 is "no window" (and, as a parent, the desktop).
using WindowHandle = std::uint32_t;

// The list-view messages the program sends, in a namespace of their own so
// that they never meet the macros of <commctrl.h>.
namespace list_view {
inline constexpr std::uint32_t kGetItemCount = 0x1004;       // LVM_GETITEMCOUNT
inline constexpr std::uint32_t kSetItemPosition = 0x100F;    // LVM_SETITEMPOSITION
inline constexpr std::uint32_t kGetItemPosition = 0x1010;    // LVM_GETITEMPOSITION
inline constexpr std::uint32_t kSetItemPosition32 = 0x1031;  // LVM_SETITEMPOSITION32
inline constexpr std::uint32_t kGetItemSpacing = 0x1033;     // LVM_GETITEMSPACING
inline constexpr std::uint32_t kGetItemTextW = 0x1073;       // LVM_GETITEMTEXTW
inline constexpr std::uint32_t kGetExtendedStyle = 0x1037;   // LVM_GETEXTENDEDLISTVIEWSTYLE

// The view's own arranging: its style and its extended style.
inline constexpr std::uint32_t kAutoArrangeStyle = 0x0100;     // LVS_AUTOARRANGE
inline constexpr std::uint32_t kSnapToGridStyle = 0x00080000;  // LVS_EX_SNAPTOGRID
}  // namespace list_view

namespace window_message {
inline constexpr std::uint32_t kSetRedraw = 0x000B;  // WM_SETREDRAW
}  // namespace window_message

// A window's client area in pixels.
struct WindowSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// A point in pixels, on the screen or in a window's client area.
struct WindowPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  bool operator==(const WindowPoint&) const = default;
};

// A rectangle in pixels, on the screen or in a window's client area; its
// right and bottom edges lie just outside it.
struct WindowRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool operator==(const WindowRect&) const = default;
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
  // Sends synchronously and returns the window's answer; 0 for handle 0. A
  // window that does not answer in time (a hung shell) fails the message
  // with a RuntimeError, as does one that is gone.
  virtual std::int32_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam,
                                         std::int32_t lparam) = 0;
  // Leaves a message in the window's queue without waiting, also for a
  // window that does not answer now. It carries no pointer (lParam 0): the
  // window may take it long after anything pointed at is gone. Raises a
  // RuntimeError (ServiceFailure) when the window takes no message.
  virtual void PostWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam) = 0;
  // Raises a RuntimeError (ServiceFailure) when the window has no client area to report.
  virtual WindowSize ClientSize(WindowHandle window) = 0;
  // The window's style bits; a RuntimeError for a window that is gone.
  virtual std::uint32_t WindowStyle(WindowHandle window) = 0;
  // Repaints the window and its children at once, background included.
  // Raises a RuntimeError (ServiceFailure) when the window cannot be redrawn.
  virtual void RepaintWindow(WindowHandle window) = 0;
  // The top-left corner of the main screen's work area (the screen less the
  // taskbar), in screen coordinates; a RuntimeError when it cannot be read.
  virtual WindowPoint PrimaryWorkAreaOrigin() = 0;
  // Every monitor's work area in screen coordinates; a RuntimeError when
  // the monitors cannot be listed.
  virtual std::vector<WindowRect> MonitorWorkAreas() = 0;
  // The screen point in the window's client coordinates, also for another
  // process's window; a RuntimeError for a window that is gone.
  virtual WindowPoint ScreenToClient(WindowHandle window, WindowPoint screen) = 0;
};

}  // namespace corvella
