// The window's measures: its DPI, the font that fits the captions at it and
// the icons at the system's sizes, each held for as long as the window shows
// it; from them the places of the controls and of the window on its screen.
#pragma once

#include <windows.h>

#include "core/scoped_handle_win32.hpp"
#include "form/control_layout.hpp"

namespace corvella {

class FormMetrics {
 public:
  // The window's frame: it is created with it, and its outer size is worked
  // out from it.
  static constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  static constexpr DWORD kWindowExStyle = 0;

  explicit FormMetrics(const FormLayout& layout);
  FormMetrics(const FormMetrics&) = delete;
  FormMetrics& operator=(const FormMetrics&) = delete;

  // The window's own DPI, and the font that fits the captions at it.
  void TakeWindowDpi(HWND window);
  // The layout's icon at the system's big and small icon sizes, given to
  // the window.
  void LoadIcons(HWND window, HINSTANCE instance);
  // The window went to a screen of another DPI: a fitting font for it. The
  // old font comes back, to be deleted once no control uses it.
  [[nodiscard]] ScopedFont ChangeDpi(HWND window, UINT dpi);

  [[nodiscard]] HFONT Font() const { return font_.Get(); }
  // The control at its place at the window's DPI; a label sized to its
  // caption in the window's font.
  void PlaceControl(HWND control, const ControlLayout& layout) const;
  // The window sized to the layout's client area, centred in the work area
  // of the main screen.
  void PlaceWindow(HWND window) const;

 private:
  [[nodiscard]] ScopedFont FittingFont(HWND window, UINT dpi) const;
  [[nodiscard]] bool CaptionsFit(HWND window, HFONT font, UINT dpi) const;

  const FormLayout& layout_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  ScopedFont font_;
  ScopedIcon big_icon_;
  ScopedIcon small_icon_;
};

}  // namespace corvella
