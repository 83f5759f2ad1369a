// The form runtime on Win32: builds the window and its standard controls
// from the layout table at the window's real DPI, runs the message loop and
// hands clicks, text changes, scroll bar steps, timer ticks and the close of
// the window to the window's logic.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "core/scoped_handle_win32.hpp"
#include "form/control_layout.hpp"
#include "form/form_dispatch.hpp"
#include "form/form_runtime.hpp"

namespace corvella {

class Win32Form final : public FormRuntime {
 public:
  Win32Form(const FormLayout& layout, HINSTANCE instance);
  ~Win32Form() override;
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;

  // Creates the window and every control, runs OnLoad, shows the window and
  // handles its messages until it is destroyed; returns the exit code. A
  // failure other than a RuntimeError in a handler closes the window and is
  // rethrown from here.
  int Run(FormEvents& events);

  // The window class of a window built from the layout, by which another
  // process finds it.
  static std::wstring WindowClassName(const FormLayout& layout);
  // Posts the notice to every top-level window of the layout's class, in
  // any process of the session; each one's logic gets it as OnNotice.
  static void PostNotice(const FormLayout& layout, FormNotice notice);

  [[nodiscard]] bool Enabled(ControlId control) const override;
  void SetEnabled(ControlId control, bool enabled) override;
  [[nodiscard]] std::string Text(ControlId control) const override;
  void SetText(ControlId control, std::string_view text) override;
  [[nodiscard]] std::int16_t Value(ControlId control) const override;
  void PumpMessages() override;
  [[noreturn]] void EndProgram() override;
  void SetMenuCommand(MenuCommand command, std::string_view caption, bool enabled) override;
  void ShowMessage(std::string_view text) override;
  bool AskYesNo(std::string_view question) override;
  void SetBusy(bool busy) override;

 private:
  // The window and its messages (form_win32.cpp).
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateMainWindow();
  void Dispatch(MSG& message);
  void OnClose();
  bool OnSetCursor();
  void OnShown();
  void OnEndSession(WPARAM ending);
  void OnActivate(WPARAM wparam);
  bool OnSetFocus();
  void OnDestroy();

  // The controls (form_controls_win32.cpp).
  void CreateControls();
  void FocusFirstControl();
  void OnCommand(WPARAM wparam, LPARAM lparam);
  void OnVScroll(WPARAM wparam, LPARAM lparam);
  void OnTimer(WPARAM wparam);
  [[nodiscard]] const ControlLayout* TimerOf(WPARAM timer_id) const;
  [[nodiscard]] const ControlLayout& LayoutOf(ControlId control) const;
  [[nodiscard]] HWND ControlWindow(ControlId control) const;

  // DPI, fonts, fitting and placement (form_metrics_win32.cpp).
  void TakeWindowDpi();
  void LoadIcons();
  void ApplyDpi(UINT dpi);
  [[nodiscard]] ScopedFont FittingFont(UINT dpi) const;
  [[nodiscard]] bool CaptionsFit(HFONT font, UINT dpi) const;
  void PlaceControl(const ControlLayout& control);
  void PlaceWindow();
  void OnDpiChanged(WPARAM wparam, LPARAM lparam);

  // The system menu, its shortcuts and notices between runs
  // (form_menu_win32.cpp).
  void OnNotice(WPARAM wparam);
  bool OnSysCommand(WPARAM wparam);
  void OnInitMenuPopup(LPARAM lparam);
  [[nodiscard]] const MenuShortcut* ShortcutOf(const MSG& message) const;

  const FormLayout& layout_;
  HINSTANCE instance_;
  FormDispatch dispatch_;
  HWND window_ = nullptr;
  UINT notice_message_ = 0;
  std::vector<const ControlLayout*> layouts_;
  std::vector<HWND> controls_;
  std::vector<bool> timers_running_;
  std::vector<MenuCommand> menu_commands_;  // those added to the system menu
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  ScopedFont font_;
  ScopedIcon big_icon_;
  ScopedIcon small_icon_;
  bool busy_ = false;
  HWND last_focus_ = nullptr;
};

}  // namespace corvella
