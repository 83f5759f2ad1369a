#include "shell/window_system_win32.hpp"

#include <windows.h>

#include <string>

#include "core/runtime_error.hpp"

namespace corvella {
namespace {

HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle)); }

WindowHandle FromHwnd(HWND window) { return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(window)); }

[[noreturn]] void Fail(const char* what, WindowHandle window) {
  throw RuntimeError(RuntimeErrorKind::ServiceFailure, std::string(what) + " window " + std::to_string(window) +
                                                           " (error " + std::to_string(::GetLastError()) + ")");
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
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "the window does not answer");
  }
  DWORD_PTR answer = 0;
  if (::SendMessageTimeoutA(ToHwnd(window), message, wparam, lparam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            HungWindows::kAnswerWithinMs, &answer) == 0) {
    hung_.TimedOut(window, ::GetTickCount64());
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "the window did not answer in time");
  }
  hung_.Answered(window);
  return static_cast<std::int32_t>(answer);
}

void Win32WindowSystem::PostWindowMessage(WindowHandle window, std::uint32_t message, std::uint32_t wparam) {
  if (!::PostMessageW(ToHwnd(window), message, wparam, 0)) Fail("cannot post to", window);
}

WindowSize Win32WindowSystem::ClientSize(WindowHandle window) {
  RECT client{};
  if (!::GetClientRect(ToHwnd(window), &client)) Fail("cannot measure", window);
  return WindowSize{client.right - client.left, client.bottom - client.top};
}

std::uint32_t Win32WindowSystem::WindowStyle(WindowHandle window) {
  if (!::IsWindow(ToHwnd(window))) Fail("no such", window);
  return static_cast<std::uint32_t>(::GetWindowLongW(ToHwnd(window), GWL_STYLE));
}

void Win32WindowSystem::RepaintWindow(WindowHandle window) {
  if (!::RedrawWindow(ToHwnd(window), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN)) {
    Fail("cannot repaint", window);
  }
}

}  // namespace corvella
