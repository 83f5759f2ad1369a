// The window itself: its class, the message loop and the window procedure,
// which hands each message to the part it concerns; the wait cursor, the
// notices between runs and the message boxes over the window.
#include "form/form_win32.hpp"

#include <commctrl.h>

#include <string>

#include "core/last_error_win32.hpp"
#include "core/runtime_error.hpp"
#include "core/unicode_win32.hpp"
#include "form/window_text_win32.hpp"

namespace corvella {
namespace {

// Posted once the window shows: it arrives before any input, as the system
// hands out posted messages before input.
constexpr UINT kShownMessage = WM_APP + 1;

// The message that carries a notice between the runs of the program: its
// name is the form's own, so that no other program's window takes it.
UINT NoticeMessage(const FormLayout& layout) {
  return ::RegisterWindowMessageW((Win32Form::WindowClassName(layout) + L".Notice").c_str());
}

}  // namespace

Win32Form::Win32Form(const FormLayout& layout, HINSTANCE instance)
    : layout_(layout),
      instance_(instance),
      dispatch_(layout),
      metrics_(layout),
      controls_(layout, dispatch_, metrics_),
      menu_(layout, dispatch_),
      notice_message_(NoticeMessage(layout)) {}

Win32Form::~Win32Form() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

int Win32Form::Run(FormEvents& events) {
  INITCOMMONCONTROLSEX common_controls{sizeof(common_controls), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&common_controls);
  CreateMainWindow();
  metrics_.TakeWindowDpi(window_);
  metrics_.LoadIcons(window_, instance_);
  controls_.Create(window_, instance_);
  metrics_.PlaceWindow(window_);

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
    controls_.FocusFirst();
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

void Win32Form::PostNotice(const FormLayout& layout, FormNotice notice) {
  const UINT message = NoticeMessage(layout);
  if (message == 0) ThrowLastError("cannot register the notice message");
  const std::wstring class_name = WindowClassName(layout);
  for (HWND window = ::FindWindowExW(nullptr, nullptr, class_name.c_str(), nullptr); window != nullptr;
       window = ::FindWindowExW(nullptr, window, class_name.c_str(), nullptr)) {
    ::PostMessageW(window, message, static_cast<WPARAM>(notice), 0);
  }
}

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
  ::CreateWindowExW(FormMetrics::kWindowExStyle, class_name.c_str(), caption.c_str(), FormMetrics::kWindowStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this);
  if (window_ == nullptr) ThrowLastError("cannot create the window");
}

void Win32Form::Dispatch(MSG& message) {
  if (menu_.ChooseByKey(window_, message)) return;
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
    form->controls_.Forget();
    return ::DefWindowProcW(window, message, wparam, lparam);
  }
  return form->HandleMessage(message, wparam, lparam);
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  // Registered at run time, so it cannot be a case of the switch.
  if (message == notice_message_ && notice_message_ != 0) {
    dispatch_.Notice(static_cast<FormNotice>(wparam));
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      controls_.OnCommand(wparam, lparam);
      return 0;
    case WM_VSCROLL:
      controls_.OnVScroll(wparam, lparam);
      return 0;
    case WM_TIMER:
      controls_.OnTimer(wparam);
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_SYSCOMMAND:
      if (menu_.OnSysCommand(wparam)) return 0;
      break;
    case WM_SETCURSOR:
      if (OnSetCursor()) return TRUE;
      break;
    case kShownMessage:
      dispatch_.Shown();
      return 0;
    case WM_INITMENUPOPUP:
      menu_.OnInitMenuPopup(lparam);
      break;
    case WM_ENDSESSION:
      OnEndSession(wparam);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(wparam, lparam);
      return 0;
    case WM_ACTIVATE:
      controls_.OnActivate(wparam);
      break;
    case WM_SETFOCUS:
      if (controls_.OnSetFocus()) return 0;
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

// The session ends without a WM_CLOSE, and the system ends the process
// afterwards whatever the unload asks.
void Win32Form::OnEndSession(WPARAM ending) {
  if (ending) dispatch_.EndSession();
}

void Win32Form::OnDpiChanged(WPARAM wparam, LPARAM lparam) {
  // The controls take the new font before the old one is deleted.
  const ScopedFont old_font = metrics_.ChangeDpi(window_, HIWORD(wparam));
  controls_.Refit();
  const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
  ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::OnDestroy() {
  controls_.OnDestroy();
  ::PostQuitMessage(0);
}

bool Win32Form::Enabled(ControlId control) const { return controls_.Enabled(control); }

void Win32Form::SetEnabled(ControlId control, bool enabled) { controls_.SetEnabled(control, enabled); }

std::string Win32Form::Text(ControlId control) const { return controls_.Text(control); }

void Win32Form::SetText(ControlId control, std::string_view text) { controls_.SetText(control, text); }

std::int16_t Win32Form::Value(ControlId control) const { return dispatch_.Value(control); }

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

void Win32Form::SetMenuCommand(MenuCommand command, std::string_view caption, bool enabled) {
  menu_.SetCommand(window_, command, caption, enabled);
}

void Win32Form::ShowMessage(std::string_view text) {
  const std::wstring wide = Utf8ToWide(text);
  const std::wstring caption = ToWide(layout_.caption);
  // The box runs a message loop of its own: what it hands out are events of
  // their own, as in any pump.
  dispatch_.Pumping([&] { ::MessageBoxW(window_, wide.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION); });
}

// No is the default button: Enter alone does not go ahead.
bool Win32Form::AskYesNo(std::string_view question) {
  const std::wstring wide = Utf8ToWide(question);
  const std::wstring caption = ToWide(layout_.caption);
  int answer = 0;
  dispatch_.Pumping([&] {
    answer = ::MessageBoxW(window_, wide.c_str(), caption.c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
  });
  return answer == IDYES;
}

void Win32Form::SetBusy(bool busy) {
  busy_ = busy;
  ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

}  // namespace corvella
