#include "shell/desktop_view.hpp"

#include "core/resume_next.hpp"

namespace corvella {
namespace {

// After a wallpaper slideshow or Task View, current Windows moves the
// desktop's SHELLDLL_DefView from Progman to a top-level WorkerW window.
void FindDesktopViewUnderWorkerW(WindowSystem& windows, WindowHandle& view) {
  WindowHandle worker = 0;
  while (ResumeNext([&] { worker = windows.FindChildWindowByClass(0, worker, "workerw"); }) && worker != 0) {
    WindowHandle shell_view = 0;
    ResumeNext([&] { shell_view = windows.FindChildWindowByClass(worker, 0, "shelldll_defview"); });
    if (shell_view != 0) {
      ResumeNext([&] { view = windows.FindChildWindowByClass(shell_view, 0, "syslistview32"); });
      return;
    }
  }
}

}  // namespace

// The class names are narrow and lower case on purpose: the window system
// compares them without regard to case, and the shell registers them as
// Progman, SHELLDLL_DefView and SysListView32.
void LocateDesktopView(WindowSystem& windows, WindowHandle& view) {
  ResumeNext([&] { view = windows.FindWindowByClass("progman"); });
  ResumeNext([&] { view = windows.FindChildWindowByClass(view, 0, "shelldll_defview"); });
  ResumeNext([&] { view = windows.FindChildWindowByClass(view, 0, "syslistview32"); });
  if (view == 0) {
    FindDesktopViewUnderWorkerW(windows, view);
  }
}

WindowHandle FindDesktopView(WindowSystem& windows) {
  WindowHandle view = 0;
  LocateDesktopView(windows, view);
  return view;
}

std::int32_t CountItems(WindowSystem& windows, WindowHandle view) {
  return windows.SendWindowMessage(view, list_view::kGetItemCount, 0, 0);
}

void MoveItem(WindowSystem& windows, WindowHandle view, std::int32_t index, std::int32_t position) {
  windows.SendWindowMessage(view, list_view::kSetItemPosition, static_cast<std::uint32_t>(index), position);
}

// wParam FALSE: the spacing of the icon view, not of the small-icon view.
std::int32_t ReadIconSpacing(WindowSystem& windows, WindowHandle view) {
  return windows.SendWindowMessage(view, list_view::kGetItemSpacing, 0, 0);
}

bool ArrangesItself(WindowSystem& windows, WindowHandle view) {
  return view != 0 && (windows.WindowStyle(view) & list_view::kAutoArrangeStyle) != 0;
}

SelfArrangement ReadSelfArrangement(WindowSystem& windows) {
  const WindowHandle view = FindDesktopView(windows);
  if (view == 0) return {};
  const auto extended = static_cast<std::uint32_t>(windows.SendWindowMessage(view, list_view::kGetExtendedStyle, 0, 0));
  return {ArrangesItself(windows, view), (extended & list_view::kSnapToGridStyle) != 0};
}

}  // namespace corvella
