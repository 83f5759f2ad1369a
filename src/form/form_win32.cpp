#include "form/form_win32.hpp"

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "core/last_error_win32.hpp"
#include "core/runtime_error.hpp"
#include "core/unicode_win32.hpp"
#include "form/form_rules.hpp"

namespace corvella {
namespace {

// Clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and
// Escape: no button of the window is the default or the cancel button.
constexpr int kFirstCommandId = 100;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = 0;
// Posted once the window shows: it arrives before any input, as the system
// hands out posted messages before input.
constexpr UINT kShownMessage = WM_APP + 1;

std::size_t IndexOf(ControlId control) { return static_cast<std::size_t>(control); }

int CommandIdOf(ControlId control) { return kFirstCommandId + static_cast<int>(control); }

std::wstring ToWide(std::u16string_view text) { return {text.begin(), text.end()}; }

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

// The message that carries a notice between the runs of the program: its
// name is the form's own, so that no other program's window takes it.
UINT NoticeMessage(const FormLayout& layout) {
  return ::RegisterWindowMessageW((Win32Form::WindowClassName(layout) + L".Notice").c_str());
}

// Calls that newer systems have; looked up so that the exe still starts
// without them.
template <typename Function>
Function LookUpUser32(const char* name) {
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(user32, name)));
}

UINT ScreenDpi(HWND window) {
  const ScopedWindowDC dc(window);
  const int dpi = ::GetDeviceCaps(dc.Get(), LOGPIXELSY);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = LookUpUser32<GetDpiForWindowFunction>("GetDpiForWindow");
  if (get_dpi_for_window != nullptr) {
    const UINT dpi = get_dpi_for_window(window);
    if (dpi != 0) return dpi;
  }
  return ScreenDpi(window);
}

RECT OuterRect(int client_width, int client_height, UINT dpi) {
  using AdjustForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust_for_dpi = LookUpUser32<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client_width, client_height};
  if (adjust_for_dpi == nullptr || !adjust_for_dpi(&rect, kWindowStyle, FALSE, kWindowExStyle, dpi)) {
    ::AdjustWindowRectEx(&rect, kWindowStyle, FALSE, kWindowExStyle);
  }
  return rect;
}

// The system's message font, which the system reports at its own DPI,
// scaled to the window's.
LOGFONTW MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW font{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font = metrics.lfMessageFont;
  } else {
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  }
  font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(ScreenDpi(nullptr)));
  return font;
}

SIZE TextExtent(HWND control, HFONT font, const std::wstring& text) {
  SIZE size{};
  const ScopedWindowDC dc(control);
  const ScopedSelectObject selected(dc.Get(), font);
  ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

ScrollRequest ToScrollRequest(WORD code) {
  switch (code) {
    case SB_LINEUP:
      return ScrollRequest::LineUp;
    case SB_LINEDOWN:
      return ScrollRequest::LineDown;
    case SB_PAGEUP:
      return ScrollRequest::PageUp;
    case SB_PAGEDOWN:
      return ScrollRequest::PageDown;
    case SB_THUMBPOSITION:
      return ScrollRequest::ThumbPosition;
    case SB_TOP:
      return ScrollRequest::Top;
    case SB_BOTTOM:
      return ScrollRequest::Bottom;
    default:
      return ScrollRequest::Other;
  }
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

ControlClass ClassFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::Label:
      return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case ControlKind::TextBox:
      return {L"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::VerticalScrollBar:
      return {L"SCROLLBAR", WS_TABSTOP | SBS_VERT, 0};
    case ControlKind::Timer:
      break;
  }
  return {nullptr, 0, 0};
}

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::PushButton || kind == ControlKind::TextBox || kind == ControlKind::VerticalScrollBar;
}

}  // namespace

Win32Form::Win32Form(const FormLayout& layout, HINSTANCE instance)
    : layout_(layout),
      instance_(instance),
      dispatch_(layout),
      layouts_(ControlSlots(layout), nullptr),
      controls_(ControlSlots(layout), nullptr),
      timers_running_(ControlSlots(layout), false) {
  for (const ControlLayout& control : layout_.controls) layouts_.at(IndexOf(control.id)) = &control;
  notice_message_ = NoticeMessage(layout_);
}

Win32Form::~Win32Form() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

int Win32Form::Run(FormEvents& events) {
  INITCOMMONCONTROLSEX common_controls{sizeof(common_controls), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&common_controls);
  CreateMainWindow();
  dpi_ = WindowDpi(window_);
  font_ = FittingFont(dpi_);
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
  ::CreateWindowExW(kWindowExStyle, class_name.c_str(), caption.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this);
  if (window_ == nullptr) ThrowLastError("cannot create the window");
}

void Win32Form::CreateControls() {
  // Creation order is the order of the Tab key.
  for (const ControlLayout& control : layout_.controls) {
    if (control.kind == ControlKind::Timer) continue;
    const ControlClass control_class = ClassFor(control.kind);
    const DWORD style = WS_CHILD | WS_VISIBLE | control_class.style | (control.enabled ? 0 : WS_DISABLED);
    const std::wstring text = ToWide(control.text);
    const HWND created =
        ::CreateWindowExW(control_class.ex_style, control_class.name, text.c_str(), style, 0, 0, 0, 0, window_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(CommandIdOf(control.id))), instance_, nullptr);
    if (created == nullptr) ThrowLastError("cannot create control " + std::string(control.name));
    controls_.at(IndexOf(control.id)) = created;
    ::SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    if (control.kind == ControlKind::VerticalScrollBar) {
      SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS, control.minimum, control.maximum, 0, control.value, 0};
      ::SetScrollInfo(created, SB_CTL, &info, FALSE);
    }
    PlaceControl(control);
  }
}

void Win32Form::LoadIcons() {
  if (layout_.icon_resource == 0) return;
  const auto load = [&](int size_metric) {
    const int size = ::GetSystemMetrics(size_metric);
    return ScopedIcon(static_cast<HICON>(
        ::LoadImageW(instance_, MAKEINTRESOURCEW(layout_.icon_resource), IMAGE_ICON, size, size, 0)));
  };
  big_icon_ = load(SM_CXICON);
  small_icon_ = load(SM_CXSMICON);
  if (big_icon_) ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.Get()));
  if (small_icon_) ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.Get()));
}

void Win32Form::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  ScopedFont font = FittingFont(dpi_);
  for (HWND control : controls_) {
    if (control != nullptr) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  }
  // The controls use the new font before the old one is deleted.
  font_ = std::move(font);
  for (const ControlLayout& control : layout_.controls) {
    if (control.kind != ControlKind::Timer) PlaceControl(control);
  }
}

// The message font, a little smaller where a label's caption would run
// into the control beside it: a system font wider than the one the layout
// was drawn for must not hide the end of the question under "はい".
ScopedFont Win32Form::FittingFont(UINT dpi) const {
  LOGFONTW font = MessageFont(dpi);
  const int smallest = std::abs(font.lfHeight) * 3 / 4;
  for (;;) {
    ScopedFont candidate(::CreateFontIndirectW(&font));
    if (!candidate) ThrowServiceFailure("cannot create the message font");
    if (std::abs(font.lfHeight) <= smallest || CaptionsFit(candidate.Get(), dpi)) return candidate;
    font.lfHeight += font.lfHeight < 0 ? 1 : -1;
  }
}

bool Win32Form::CaptionsFit(HFONT font, UINT dpi) const {
  for (const ControlLayout& control : layout_.controls) {
    if (!control.sizes_to_caption) continue;
    const SIZE extent = TextExtent(window_, font, ToWide(control.text));
    if (extent.cx > TwipsToPixels(LabelRoom(layout_, control), static_cast<int>(dpi))) return false;
  }
  return true;
}

void Win32Form::PlaceControl(const ControlLayout& control) {
  const HWND handle = controls_.at(IndexOf(control.id));
  PixelRect place = ControlPixels(control, static_cast<int>(dpi_));
  if (control.sizes_to_caption) {
    const SIZE extent = TextExtent(handle, font_.Get(), WindowText(handle));
    place.width = extent.cx;
    place.height = extent.cy;
  }
  ::SetWindowPos(handle, nullptr, place.left, place.top, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::PlaceWindow() {
  const int dpi = static_cast<int>(dpi_);
  const RECT outer =
      OuterRect(TwipsToPixels(layout_.client_width, dpi), TwipsToPixels(layout_.client_height, dpi), dpi_);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const PixelPoint origin =
      CentredOrigin({work.left, work.top, work.right - work.left, work.bottom - work.top}, width, height);
  ::SetWindowPos(window_, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::FocusFirstControl() {
  for (const ControlLayout& control : layout_.controls) {
    const HWND handle = controls_.at(IndexOf(control.id));
    if (TakesFocus(control.kind) && ::IsWindowEnabled(handle)) {
      ::SetFocus(handle);
      return;
    }
  }
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
  if (message == notice_message_ && notice_message_ != 0) {
    dispatch_.Notice(static_cast<FormNotice>(wparam));
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
      if (busy_) {
        ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
        return TRUE;
      }
      break;
    case kShownMessage:
      dispatch_.Shown();
      return 0;
    case WM_INITMENUPOPUP:
      if (HIWORD(lparam) != 0) dispatch_.MenuOpening();  // the system menu
      break;
    case WM_ENDSESSION:
      if (wparam) OnEndSession();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(wparam, lparam);
      return 0;
    case WM_ACTIVATE:
      // A plain window forgets its focused control when it is deactivated.
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window_, focus)) last_focus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      if (last_focus_ != nullptr && ::IsWindowEnabled(last_focus_)) {
        ::SetFocus(last_focus_);
        return 0;
      }
      break;
    case WM_DESTROY:
      for (const ControlLayout& control : layout_.controls) {
        if (timers_running_.at(IndexOf(control.id)))
          ::KillTimer(window_, static_cast<UINT_PTR>(CommandIdOf(control.id)));
      }
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wparam, lparam);
}

void Win32Form::OnCommand(WPARAM wparam, LPARAM lparam) {
  const int index = LOWORD(wparam) - kFirstCommandId;
  if (index < 0 || static_cast<std::size_t>(index) >= layouts_.size() || layouts_.at(index) == nullptr) return;
  const ControlLayout& control = *layouts_.at(index);
  const HWND sender = reinterpret_cast<HWND>(lparam);
  if (sender == nullptr || sender != controls_.at(index)) return;
  const WORD code = HIWORD(wparam);
  if (control.kind == ControlKind::PushButton && code == BN_CLICKED) {
    dispatch_.Click(control.id, ::IsWindowEnabled(sender) != FALSE);
  } else if (control.kind == ControlKind::TextBox && code == EN_CHANGE) {
    dispatch_.TextChanged(control.id);
  }
}

void Win32Form::OnVScroll(WPARAM wparam, LPARAM lparam) {
  const HWND sender = reinterpret_cast<HWND>(lparam);
  for (const ControlLayout& control : layout_.controls) {
    if (control.kind != ControlKind::VerticalScrollBar || controls_.at(IndexOf(control.id)) != sender) continue;
    dispatch_.Scroll(control.id, ToScrollRequest(LOWORD(wparam)), static_cast<short>(HIWORD(wparam)),
                     [&](int value) { ::SetScrollPos(sender, SB_CTL, value, TRUE); });
    return;
  }
}

void Win32Form::OnTimer(WPARAM wparam) {
  const ControlLayout* timer = TimerOf(wparam);
  if (timer == nullptr) return;
  dispatch_.Tick(timer->id, timers_running_.at(IndexOf(timer->id)));
}

const ControlLayout* Win32Form::TimerOf(WPARAM timer_id) const {
  for (const ControlLayout& control : layout_.controls) {
    if (control.kind == ControlKind::Timer && timer_id == static_cast<WPARAM>(CommandIdOf(control.id))) return &control;
  }
  return nullptr;
}

void Win32Form::OnClose() {
  if (dispatch_.Close() && window_ != nullptr) ::DestroyWindow(window_);
}

bool Win32Form::OnSysCommand(WPARAM wparam) {
  for (const MenuCommand command : menu_commands_) {
    // The system keeps the low four bits of the id for itself.
    if ((wparam & 0xFFF0) != static_cast<WPARAM>(command)) continue;
    dispatch_.Command(command);
    return true;
  }
  return false;
}

// A shortcut works anywhere in the window, the text box included.
const MenuShortcut* Win32Form::ShortcutOf(const MSG& message) const {
  if (window_ == nullptr || message.message != WM_KEYDOWN) return nullptr;
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) return nullptr;
  for (const MenuShortcut& shortcut : layout_.shortcuts) {
    if (message.wParam == static_cast<WPARAM>(shortcut.key) && ::GetKeyState(VK_CONTROL) < 0 &&
        ::GetKeyState(VK_MENU) >= 0 && ::GetKeyState(VK_SHIFT) >= 0) {
      return &shortcut;
    }
  }
  return nullptr;
}

void Win32Form::SetMenuCommand(MenuCommand command, std::string_view caption, bool enabled) {
  if (window_ == nullptr) ThrowServiceFailure("the window has no system menu");
  const HMENU menu = ::GetSystemMenu(window_, FALSE);
  if (menu == nullptr) ThrowServiceFailure("the window has no system menu");
  const auto id = static_cast<UINT_PTR>(command);
  const std::wstring text = Utf8ToWide(caption);
  const UINT state = MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED);
  const bool present = ::GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) != static_cast<UINT>(-1);
  if (present) {
    ::ModifyMenuW(menu, static_cast<UINT>(id), MF_BYCOMMAND | state, id, text.c_str());
  } else {
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, state, id, text.c_str());
    menu_commands_.push_back(command);
  }
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

// The session ends without a WM_CLOSE, and the system ends the process
// afterwards whatever the unload asks.
void Win32Form::OnEndSession() { dispatch_.EndSession(); }

void Win32Form::OnDpiChanged(WPARAM wparam, LPARAM lparam) {
  ApplyDpi(HIWORD(wparam));
  const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
  ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

const ControlLayout& Win32Form::LayoutOf(ControlId control) const {
  const ControlLayout* found = layouts_.at(IndexOf(control));
  if (found == nullptr) ThrowServiceFailure("the window has no such control");
  return *found;
}

HWND Win32Form::ControlWindow(ControlId control) const {
  const HWND handle = controls_.at(IndexOf(control));
  if (handle == nullptr) ThrowServiceFailure("control " + std::string(LayoutOf(control).name) + " has no window");
  return handle;
}

bool Win32Form::Enabled(ControlId control) const {
  if (LayoutOf(control).kind == ControlKind::Timer) return timers_running_.at(IndexOf(control));
  return ::IsWindowEnabled(ControlWindow(control)) != FALSE;
}

void Win32Form::SetEnabled(ControlId control, bool enabled) {
  const ControlLayout& layout = LayoutOf(control);
  if (layout.kind == ControlKind::Timer) {
    if (enabled == timers_running_.at(IndexOf(control))) return;
    const auto timer_id = static_cast<UINT_PTR>(CommandIdOf(control));
    if (enabled) {
      if (window_ == nullptr || ::SetTimer(window_, timer_id, static_cast<UINT>(layout.interval_ms), nullptr) == 0) {
        ThrowLastError("cannot start the timer");
      }
    } else if (window_ != nullptr) {
      ::KillTimer(window_, timer_id);
    }
    timers_running_.at(IndexOf(control)) = enabled;
    return;
  }
  const HWND handle = ControlWindow(control);
  if (!enabled && ::GetFocus() == handle) ::SetFocus(::GetNextDlgTabItem(window_, handle, FALSE));
  ::EnableWindow(handle, enabled ? TRUE : FALSE);
}

std::string Win32Form::Text(ControlId control) const { return WideToUtf8(WindowText(ControlWindow(control))); }

void Win32Form::SetText(ControlId control, std::string_view text) {
  const ControlLayout& layout = LayoutOf(control);
  const HWND handle = ControlWindow(control);
  const std::wstring wide = Utf8ToWide(text);
  BOOL set = FALSE;
  // A text box raises its change event inside the call.
  dispatch_.RaiseNested([&] { set = ::SetWindowTextW(handle, wide.c_str()); });
  if (!set) ThrowLastError("cannot set the text of " + std::string(layout.name));
  if (layout.sizes_to_caption) PlaceControl(layout);
}

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

}  // namespace corvella
