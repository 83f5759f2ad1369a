// The controls' windows made from the layout table, what they report turned
// into events of the logic, and their state read and set for it.
#include "form/form_controls_win32.hpp"

#include <algorithm>
#include <cstddef>
#include <string>

#include "core/last_error_win32.hpp"
#include "core/runtime_error.hpp"
#include "core/unicode_win32.hpp"
#include "form/window_text_win32.hpp"

namespace corvella {
namespace {

// Clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and
// Escape: no button of the window is the default or the cancel button.
constexpr int kFirstCommandId = 100;

std::size_t IndexOf(ControlId control) { return static_cast<std::size_t>(control); }

int CommandIdOf(ControlId control) { return kFirstCommandId + static_cast<int>(control); }

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

}  // namespace

FormControls::FormControls(const FormLayout& layout, FormDispatch& dispatch, const FormMetrics& metrics)
    : layout_(layout),
      dispatch_(dispatch),
      metrics_(metrics),
      layouts_(ControlSlots(layout), nullptr),
      controls_(ControlSlots(layout), nullptr),
      timers_running_(ControlSlots(layout), false) {
  for (const ControlLayout& control : layout_.controls) layouts_.at(IndexOf(control.id)) = &control;
}

void FormControls::Create(HWND window, HINSTANCE instance) {
  window_ = window;
  // Creation order is the order of the Tab key.
  for (const ControlLayout& control : layout_.controls) {
    if (control.kind == ControlKind::Timer) continue;
    const ControlClass control_class = ClassFor(control.kind);
    const DWORD style = WS_CHILD | WS_VISIBLE | control_class.style | (control.enabled ? 0 : WS_DISABLED);
    const std::wstring text = ToWide(control.text);
    const HWND created =
        ::CreateWindowExW(control_class.ex_style, control_class.name, text.c_str(), style, 0, 0, 0, 0, window_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(CommandIdOf(control.id))), instance, nullptr);
    if (created == nullptr) ThrowLastError("cannot create control " + std::string(control.name));
    controls_.at(IndexOf(control.id)) = created;
    ::SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(metrics_.Font()), FALSE);
    if (control.kind == ControlKind::VerticalScrollBar) {
      SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS, control.minimum, control.maximum, 0, control.value, 0};
      ::SetScrollInfo(created, SB_CTL, &info, FALSE);
    }
    metrics_.PlaceControl(created, control);
  }
}

void FormControls::FocusFirst() {
  for (const ControlLayout& control : layout_.controls) {
    const HWND handle = controls_.at(IndexOf(control.id));
    if (TakesFocus(control.kind) && ::IsWindowEnabled(handle)) {
      ::SetFocus(handle);
      return;
    }
  }
}

void FormControls::Refit() {
  for (HWND control : controls_) {
    if (control != nullptr) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(metrics_.Font()), TRUE);
  }
  for (const ControlLayout& control : layout_.controls) {
    if (control.kind != ControlKind::Timer) metrics_.PlaceControl(controls_.at(IndexOf(control.id)), control);
  }
}

void FormControls::Forget() {
  window_ = nullptr;
  std::fill(controls_.begin(), controls_.end(), nullptr);
  last_focus_ = nullptr;
}

void FormControls::OnCommand(WPARAM wparam, LPARAM lparam) {
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

void FormControls::OnVScroll(WPARAM wparam, LPARAM lparam) {
  const HWND sender = reinterpret_cast<HWND>(lparam);
  for (const ControlLayout& control : layout_.controls) {
    if (control.kind != ControlKind::VerticalScrollBar || controls_.at(IndexOf(control.id)) != sender) continue;
    dispatch_.Scroll(control.id, ToScrollRequest(LOWORD(wparam)), static_cast<short>(HIWORD(wparam)),
                     [&](int value) { ::SetScrollPos(sender, SB_CTL, value, TRUE); });
    return;
  }
}

void FormControls::OnTimer(WPARAM wparam) {
  const ControlLayout* timer = TimerOf(wparam);
  if (timer == nullptr) return;
  dispatch_.Tick(timer->id, timers_running_.at(IndexOf(timer->id)));
}

// A plain window forgets its focused control when it is deactivated.
void FormControls::OnActivate(WPARAM wparam) {
  if (LOWORD(wparam) != WA_INACTIVE) return;
  const HWND focus = ::GetFocus();
  if (focus != nullptr && ::IsChild(window_, focus)) last_focus_ = focus;
}

bool FormControls::OnSetFocus() {
  if (last_focus_ == nullptr || !::IsWindowEnabled(last_focus_)) return false;
  ::SetFocus(last_focus_);
  return true;
}

void FormControls::OnDestroy() {
  for (const ControlLayout& control : layout_.controls) {
    if (timers_running_.at(IndexOf(control.id))) ::KillTimer(window_, static_cast<UINT_PTR>(CommandIdOf(control.id)));
  }
}

const ControlLayout* FormControls::TimerOf(WPARAM timer_id) const {
  for (const ControlLayout& control : layout_.controls) {
    if (control.kind == ControlKind::Timer && timer_id == static_cast<WPARAM>(CommandIdOf(control.id))) return &control;
  }
  return nullptr;
}

const ControlLayout& FormControls::LayoutOf(ControlId control) const {
  const ControlLayout* found = layouts_.at(IndexOf(control));
  if (found == nullptr) ThrowServiceFailure("the window has no such control");
  return *found;
}

HWND FormControls::ControlWindow(ControlId control) const {
  const HWND handle = controls_.at(IndexOf(control));
  if (handle == nullptr) ThrowServiceFailure("control " + std::string(LayoutOf(control).name) + " has no window");
  return handle;
}

bool FormControls::Enabled(ControlId control) const {
  if (LayoutOf(control).kind == ControlKind::Timer) return timers_running_.at(IndexOf(control));
  return ::IsWindowEnabled(ControlWindow(control)) != FALSE;
}

void FormControls::SetEnabled(ControlId control, bool enabled) {
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

std::string FormControls::Text(ControlId control) const { return WideToUtf8(WindowText(ControlWindow(control))); }

void FormControls::SetText(ControlId control, std::string_view text) {
  const ControlLayout& layout = LayoutOf(control);
  const HWND handle = ControlWindow(control);
  const std::wstring wide = Utf8ToWide(text);
  BOOL set = FALSE;
  // A text box raises its change event inside the call.
  dispatch_.RaiseNested([&] { set = ::SetWindowTextW(handle, wide.c_str()); });
  if (!set) ThrowLastError("cannot set the text of " + std::string(layout.name));
  if (layout.sizes_to_caption) metrics_.PlaceControl(handle, layout);
}

}  // namespace corvella
