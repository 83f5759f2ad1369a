// The window itself: its class, the message loop and the window procedure,
// which turns each message into one small member and hands the events on to
// the window's logic.
#include "form/form_win32.hpp"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "core/last_error_win32.hpp"
#include "core/runtime_error.hpp"
#include "core/unicode_win32.hpp"
#include "form/form_win32_internal.hpp"

namespace corvella {

using form_win32::CommandIdOf;
using form_win32::IndexOf;
using form_win32::kWindowExStyle;
using form_win32::kWindowStyle;
using form_win32::ToWide;

namespace {

// Posted once the window shows: it arrives before any input, as the system
// hands out posted messages before input.
constexpr UINT kShownMessage = WM_APP + 1;

}  // namespace

Win32Form::Win32Form(const FormLayout& layout, HINSTANCE instance)
    : layout_(layout),
      instance_(instance),
      dispatch_(layout),
      layouts_(ControlSlots(layout), nullptr),
      controls_(ControlSlots(layout), nullptr),
      timers_running_(ControlSlots(layout), false) {
  for (const ControlLayout& control : layout_.controls) layouts_.at(IndexOf(control.id)) = &control;
  notice_message_ = form_win32::NoticeMessage(layout_);
}

Win32Form::~Win32Form() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

int Win32Form::Run(FormEvents& events) {
  INITCOMMONCONTROLSEX common_controls{sizeof(common_controls), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&common_controls);
  CreateMainWindow();
  TakeWindowDpi();
  LoadIcons();
  CreateControls();
  PlaceWindow();

  // A handler's fault other than a RuntimeError ends the window; Run
  // rethrows it once the loop is over.
  dispatch_.Attach(events, [this] {
    if (window_ != nullptr) {
      ::DestroyWindow(window_);
    } else {
      ::PostQuitMessage(1);
    }
  });
  dispatch_.Load();
  if (window_ != nullptr) {
    ::ShowWindow(window_, SW_SHOWDEFAULT);
    ::UpdateWindow(window_);
    FocusFirstControl();
    ::PostMessageW(window_, kShownMessage, 0, 0);
  }

  MSG message{};
  int exit_code = 0;
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      exit_code = static_cast<int>(message.wParam);
      break;
    }
    if (got == -1) ThrowServiceFailure("the message loop failed");
    Dispatch(message);
  }
  dispatch_.RethrowFailure();
  return exit_code;
}

std::wstring Win32Form::WindowClassName(const FormLayout& layout) { return L"Corvella" + Utf8ToWide(layout.name); }

void Win32Form::CreateMainWindow() {
  const std::wstring class_name = WindowClassName(layout_);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = &Win32Form::WindowProc;
  window_class.hInstance = instance_;
  window_class.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  window_class.lpszClassName = class_name.c_str();
  if (!::RegisterClassExW(&window_class) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    ThrowLastError("cannot register the window class");
  }
  const std::wstring caption = ToWide(layout_.caption);
  ::CreateWindowExW(kWindowExStyle, class_name.c_str(), caption.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this);
  if (window_ == nullptr) ThrowLastError("cannot create the window");
}

void Win32Form::Dispatch(MSG& message) {
  if (const MenuShortcut* shortcut = ShortcutOf(message)) {
    dispatch_.Command(shortcut->command);
    return;
  }
  if (window_ != nullptr && ::IsDialogMessageW(window_, &message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

LRESULT CALLBACK Win32Form::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Win32Form*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    form->window_ = nullptr;
    std::fill(form->controls_.begin(), form->controls_.end(), nullptr);
    form->last_focus_ = nullptr;
    return ::DefWindowProcW(window, message, wparam, lparam);
  }
  return form->HandleMessage(message, wparam, lparam);
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  // Registered at run time, so it cannot be a case of the switch.
  if (message == notice_message_ && notice_message_ != 0) {
    OnNotice(wparam);
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      OnCommand(wparam, lparam);
      return 0;
    case WM_VSCROLL:
      OnVScroll(wparam, lparam);
      return 0;
    case WM_TIMER:
      OnTimer(wparam);
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_SYSCOMMAND:
      if (OnSysCommand(wparam)) return 0;
      break;
    case WM_SETCURSOR:
      if (OnSetCursor()) return TRUE;
      break;
    case kShownMessage:
      OnShown();
      return 0;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(lparam);
      break;
    case WM_ENDSESSION:
      OnEndSession(wparam);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(wparam, lparam);
      return 0;
    case WM_ACTIVATE:
      OnActivate(wparam);
      break;
    case WM_SETFOCUS:
      if (OnSetFocus()) return 0;
      break;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wparam, lparam);
}

void Win32Form::OnClose() {
  if (dispatch_.Close() && window_ != nullptr) ::DestroyWindow(window_);
}

bool Win32Form::OnSetCursor() {
  if (!busy_) return false;
  ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
  return true;
}

void Win32Form::SetBusy(bool busy) {
  busy_ = busy;
  ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

void Win32Form::OnShown() { dispatch_.Shown(); }

// The session ends without a WM_CLOSE, and the system ends the process
// afterwards whatever the unload asks.
void Win32Form::OnEndSession(WPARAM ending) {
  if (ending) dispatch_.EndSession();
}

// A plain window forgets its focused control when it is deactivated.
void Win32Form::OnActivate(WPARAM wparam) {
  if (LOWORD(wparam) != WA_INACTIVE) return;
  const HWND focus = ::GetFocus();
  if (focus != nullptr && ::IsChild(window_, focus)) last_focus_ = focus;
}

bool Win32Form::OnSetFocus() {
  if (last_focus_ == nullptr || !::IsWindowEnabled(last_focus_)) return false;
  ::SetFocus(last_focus_);
  return true;
}

void Win32Form::OnDestroy() {
  for (const ControlLayout& control : layout_.controls) {
    if (timers_running_.at(IndexOf(control.id))) ::KillTimer(window_, static_cast<UINT_PTR>(CommandIdOf(control.id)));
  }
  ::PostQuitMessage(0);
}

void Win32Form::PumpMessages() {
  dispatch_.Pumping([&] {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // Left for the message loop in Run, which ends the program.
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      Dispatch(message);
    }
  });
}

void Win32Form::EndProgram() { ::ExitProcess(0); }

}  // namespace corvella
