// The window's measures: its DPI, the font that fits the captions at it,
// the icons at the system's sizes, and the places of the controls and of
// the window on the main screen.
#include <cstdlib>
#include <string>
#include <utility>

#include "core/runtime_error.hpp"
#include "form/form_rules.hpp"
#include "form/form_win32.hpp"
#include "form/form_win32_internal.hpp"

namespace corvella {

using form_win32::IndexOf;
using form_win32::kWindowExStyle;
using form_win32::kWindowStyle;
using form_win32::ToWide;
using form_win32::WindowText;

namespace {

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

}  // namespace

void Win32Form::TakeWindowDpi() {
  dpi_ = WindowDpi(window_);
  font_ = FittingFont(dpi_);
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

void Win32Form::OnDpiChanged(WPARAM wparam, LPARAM lparam) {
  ApplyDpi(HIWORD(wparam));
  const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
  ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace corvella
