#include "shell/window_system_win32.hpp"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/last_error_win32.hpp"
#include "core/window_handle_win32.hpp"

namespace corvella {

// The portable copies of the SDK's values, so that a typo cannot reach the shell.
static_assert(list_view::kGetItemCount == LVM_GETITEMCOUNT);
static_assert(list_view::kSetItemPosition == LVM_SETITEMPOSITION);
static_assert(list_view::kGetItemPosition == LVM_GETITEMPOSITION);
static_assert(list_view::kSetItemPosition32 == LVM_SETITEMPOSITION32);
static_assert(list_view::kGetItemSpacing == LVM_GETITEMSPACING);
static_assert(list_view::kGetItemTextW == LVM_GETITEMTEXTW);
static_assert(list_view::kGetExtendedStyle == LVM_GETEXTENDEDLISTVIEWSTYLE);
static_assert(list_view::kAutoArrangeStyle == LVS_AUTOARRANGE);
static_assert(list_view::kSnapToGridStyle == LVS_EX_SNAPTOGRID);
static_assert(window_message::kSetRedraw == WM_SETREDRAW);

namespace {

std::string Described(WindowHandle window) { return "window " + std::to_string(window); }

// A monitor whose work area cannot be read shows no icon of the view.
BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC /*context*/, LPRECT /*clip*/, LPARAM areas) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (::GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<WindowRect>*>(areas)->push_back(
        WindowRect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
  }
  return TRUE;
}

}  // namespace

// The narrow forms on purpose: the shell's class names are plain ASCII.
WindowHandle Win32WindowSystem::FindWindowByClass(const char* class_name) {
  return FromHwnd(::FindWindowA(class_name, nullptr));
}

WindowHandle Win32WindowSystem::FindChildWindowByClass(WindowHandle parent, WindowHandle child_after,
                                                       const char* class_name) {
  return FromHwnd(::FindWindowExA(ToHwnd(parent), ToHwnd(child_after), class_name, nullptr));
}

std::int32_t Win32WindowSystem::SendWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam,
                                                  std::int32_t lparam) {
  if (window == 0) return 0;
  const ULONGLONG now = ::GetTickCount64();
  if (!hung_.WorthSending(window, now)) {
    ThrowServiceFailure(Described(window) + " does not answer");
  }
  DWORD_PTR answer = 0;
  if (::SendMessageTimeoutA(ToHwnd(window), message, wparam, lparam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            HungWindows::kAnswerWithinMs, &answer) == 0) {
    hung_.TimedOut(window, ::GetTickCount64());
    ThrowServiceFailure(Described(window) + " did not answer in time");
  }
  hung_.Answered(window);
  return static_cast<std::int32_t>(answer);
}

void Win32WindowSystem::PostWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam) {
  if (!::PostMessageW(ToHwnd(window), message, wparam, 0)) ThrowLastError("cannot post to " + Described(window));
}

WindowSize Win32WindowSystem::ClientSize(WindowHandle window) {
  RECT client{};
  if (!::GetClientRect(ToHwnd(window), &client)) ThrowLastError("cannot measure " + Described(window));
  return WindowSize{client.right - client.left, client.bottom - client.top};
}

std::uint32_t Win32WindowSystem::WindowStyle(WindowHandle window) {
  if (!::IsWindow(ToHwnd(window))) ThrowLastError("no such " + Described(window));
  return static_cast<std::uint32_t>(::GetWindowLongW(ToHwnd(window), GWL_STYLE));
}

void Win32WindowSystem::RepaintWindow(WindowHandle window) {
  if (!::RedrawWindow(ToHwnd(window), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN)) {
    ThrowLastError("cannot repaint " + Described(window));
  }
}

// The main screen's top-left corner is (0, 0) by definition, so the point
// names it; the fallback is there should no screen hold that point.
WindowPoint Win32WindowSystem::PrimaryWorkAreaOrigin() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    ThrowLastError("cannot read the main screen's work area");
  }
  return WindowPoint{monitor.rcWork.left, monitor.rcWork.top};
}

std::vector<WindowRect> Win32WindowSystem::MonitorWorkAreas() {
  std::vector<WindowRect> areas;
  if (!::EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas))) {
    ThrowLastError("cannot list the monitors");
  }
  return areas;
}

WindowPoint Win32WindowSystem::ScreenToClient(WindowHandle window, WindowPoint screen) {
  POINT point{screen.x, screen.y};
  if (!::ScreenToClient(ToHwnd(window), &point)) ThrowLastError("cannot map a point into " + Described(window));
  return WindowPoint{point.x, point.y};
}

}  // namespace corvella
