// The form runtime on Win32: the window built from the layout table, its
// message loop, and a window procedure that hands each message to the part
// it concerns: the controls, the metrics or the system menu. The window
// itself keeps its handle, the cursor and the notices between runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "form/control_layout.hpp"
#include "form/form_controls_win32.hpp"
#include "form/form_dispatch.hpp"
#include "form/form_metrics_win32.hpp"
#include "form/form_runtime.hpp"
#include "form/form_system_menu_win32.hpp"

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
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateMainWindow();
  void Dispatch(MSG& message);
  void OnClose();
  bool OnSetCursor();
  void OnEndSession(WPARAM ending);
  void OnDpiChanged(WPARAM wparam, LPARAM lparam);
  void OnDestroy();

  const FormLayout& layout_;
  HINSTANCE instance_;
  FormDispatch dispatch_;
  FormMetrics metrics_;
  FormControls controls_;
  FormSystemMenu menu_;
  HWND window_ = nullptr;
  UINT notice_message_ = 0;
  bool busy_ = false;
};

}  // namespace corvella
