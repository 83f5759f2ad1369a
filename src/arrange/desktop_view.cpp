// Finding, counting and moving the items of the shell's desktop list view.
#include "arrange/desktop_arrangement.hpp"
#include "core/resume_next.hpp"

namespace corvella {

// The class names are narrow and lower case on purpose: the window system
// compares them without regard to case, and the shell registers them as
// Progman, SHELLDLL_DefView and SysListView32.
void DesktopArrangement::CountDesktopItems() {
  LocateDesktopView();
  ResumeNext([&] { lngCount = windows_.SendWindowMessage(hWndList, list_view::kGetItemCount, 0, 0); });
}

void DesktopArrangement::LocateDesktopView() {
  ResumeNext([&] { hWndList = windows_.FindWindowByClass("progman"); });
  ResumeNext([&] { hWndList = windows_.FindChildWindowByClass(hWndList, 0, "shelldll_defview"); });
  ResumeNext([&] { hWndList = windows_.FindChildWindowByClass(hWndList, 0, "syslistview32"); });
  if (hWndList == 0) {
    FindDesktopViewUnderWorkerW();
  }
}

// After a wallpaper slideshow or Task View, current Windows moves the
// desktop's SHELLDLL_DefView from Progman to a top-level WorkerW window.
void DesktopArrangement::FindDesktopViewUnderWorkerW() {
  WindowHandle worker = 0;
  while (ResumeNext([&] { worker = windows_.FindChildWindowByClass(0, worker, "workerw"); }) && worker != 0) {
    WindowHandle shell_view = 0;
    ResumeNext([&] { shell_view = windows_.FindChildWindowByClass(worker, 0, "shelldll_defview"); });
    if (shell_view != 0) {
      ResumeNext([&] { hWndList = windows_.FindChildWindowByClass(shell_view, 0, "syslistview32"); });
      return;
    }
  }
}

WindowHandle FindDesktopView(WindowSystem& windows) {
  DesktopArrangement probe(windows);
  probe.LocateDesktopView();
  return probe.hWndList;
}

SelfArrangement ReadSelfArrangement(WindowSystem& windows) {
  const WindowHandle view = FindDesktopView(windows);
  if (view == 0) return {};
  const std::uint32_t style = windows.WindowStyle(view);
  const auto extended = static_cast<std::uint32_t>(windows.SendWindowMessage(view, list_view::kGetExtendedStyle, 0, 0));
  return {(style & list_view::kAutoArrangeStyle) != 0, (extended & list_view::kSnapToGridStyle) != 0};
}

void DesktopArrangement::SetIconPosition(std::int32_t index, std::int32_t position) {
  windows_.SendWindowMessage(hWndList, list_view::kSetItemPosition, static_cast<std::uint32_t>(index), position);
}

}  // namespace corvella
