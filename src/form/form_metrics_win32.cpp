// The window's DPI, its fitting font and its icons, and the places of the
// controls and of the window worked out from them.
#include "form/form_metrics_win32.hpp"

#include <cstdlib>
#include <string>
#include <utility>

#include "core/runtime_error.hpp"
#include "form/form_rules.hpp"
#include "form/window_text_win32.hpp"

namespace corvella {
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
  if (adjust_for_dpi == nullptr ||
      !adjust_for_dpi(&rect, FormMetrics::kWindowStyle, FALSE, FormMetrics::kWindowExStyle, dpi)) {
    ::AdjustWindowRectEx(&rect, FormMetrics::kWindowStyle, FALSE, FormMetrics::kWindowExStyle);
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

FormMetrics::FormMetrics(const FormLayout& layout) : layout_(layout) {}

void FormMetrics::TakeWindowDpi(HWND window) {
  dpi_ = WindowDpi(window);
  font_ = FittingFont(window, dpi_);
}

void FormMetrics::LoadIcons(HWND window, HINSTANCE instance) {
  if (layout_.icon_resource == 0) return;
  const auto load = [&](int size_metric) {
    const int size = ::GetSystemMetrics(size_metric);
    return ScopedIcon(
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(layout_.icon_resource), IMAGE_ICON, size, size, 0)));
  };
  big_icon_ = load(SM_CXICON);
  small_icon_ = load(SM_CXSMICON);
  if (big_icon_) ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.Get()));
  if (small_icon_) ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.Get()));
}

ScopedFont FormMetrics::ChangeDpi(HWND window, UINT dpi) {
  dpi_ = dpi;
  return std::exchange(font_, FittingFont(window, dpi_));
}

// The message font, a little smaller where a label's caption would run
// into the control beside it: a system font wider than the one the layout
// was drawn for must not hide the end of the question under "はい".
ScopedFont FormMetrics::FittingFont(HWND window, UINT dpi) const {
  LOGFONTW font = MessageFont(dpi);
  const int smallest = std::abs(font.lfHeight) * 3 / 4;
  for (;;) {
    ScopedFont candidate(::CreateFontIndirectW(&font));
    if (!candidate) ThrowServiceFailure("cannot create the message font");
    if (std::abs(font.lfHeight) <= smallest || CaptionsFit(window, candidate.Get(), dpi)) return candidate;
    font.lfHeight += font.lfHeight < 0 ? 1 : -1;
  }
}

bool FormMetrics::CaptionsFit(HWND window, HFONT font, UINT dpi) const {
  for (const ControlLayout& control : layout_.controls) {
    if (!control.sizes_to_caption) continue;
    const SIZE extent = TextExtent(window, font, ToWide(control.text));
    if (extent.cx > TwipsToPixels(LabelRoom(layout_, control), static_cast<int>(dpi))) return false;
  }
  return true;
}

void FormMetrics::PlaceControl(HWND control, const ControlLayout& layout) const {
  PixelRect place = ControlPixels(layout, static_cast<int>(dpi_));
  if (layout.sizes_to_caption) {
    const SIZE extent = TextExtent(control, font_.Get(), WindowText(control));
    place.width = extent.cx;
    place.height = extent.cy;
  }
  ::SetWindowPos(control, nullptr, place.left, place.top, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormMetrics::PlaceWindow(HWND window) const {
  const int dpi = static_cast<int>(dpi_);
  const RECT outer =
      OuterRect(TwipsToPixels(layout_.client_width, dpi), TwipsToPixels(layout_.client_height, dpi), dpi_);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const PixelPoint origin =
      CentredOrigin({work.left, work.top, work.right - work.left, work.bottom - work.top}, width, height);
  ::SetWindowPos(window, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace corvella
