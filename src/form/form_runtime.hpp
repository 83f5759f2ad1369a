// The form runtime as the main window's logic sees it: the window's
// controls by name, its timer, the message pump and the program's end. The
// Win32 runtime shows a real window; the headless runtime lets tests inject
// clicks, typing, scrolling and time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "form/control_id.hpp"

namespace corvella {

// What the runtime delivers to the window's logic. Every handler runs on the
// one user-interface thread, one at a time, except those that run nested
// inside PumpMessages or inside a SetText.
class FormEvents {
 public:
  virtual ~FormEvents() = default;

  // Once, after the controls exist and before the window is first shown.
  virtual void OnLoad() = 0;
  // The window is being closed (close box, system menu, log-off).
  virtual void OnUnload(std::int16_t& cancel) = 0;
  // A push button was clicked; only enabled buttons are reported.
  virtual void OnClick(ControlId button) = 0;
  // The text box's text or the scroll bar's value changed.
  virtual void OnChange(ControlId control) = 0;
  // The enabled timer's interval elapsed.
  virtual void OnTimer(ControlId timer) = 0;
  // Once, when the window has appeared, before any input reaches it.
  virtual void OnShown() {}
  // A command of the system menu, or its key, was chosen.
  virtual void OnMenuCommand(MenuCommand /*command*/) {}
  // The system menu is about to open: its commands may change first.
  virtual void OnMenuOpening() {}
  // A run of the program, this one or another, told every open window of
  // the form something.
  virtual void OnNotice(FormNotice /*notice*/) {}
};

// Thrown by the headless runtime's EndProgram so that no statement after it
// runs; it is not a RuntimeError, so the resume-next policy lets it pass.
struct ProgramEnded {};

class FormRuntime {
 public:
  virtual ~FormRuntime() = default;

  [[nodiscard]] virtual bool Enabled(ControlId control) const = 0;
  virtual void SetEnabled(ControlId control, bool enabled) = 0;

  // UTF-8 text of the text box; setting it raises OnChange before returning.
  [[nodiscard]] virtual std::string Text(ControlId control) const = 0;
  virtual void SetText(ControlId control, std::string_view text) = 0;

  // The scroll bar's value.
  [[nodiscard]] virtual std::int16_t Value(ControlId control) const = 0;

  // Handles the pending events once; their handlers run inside the call.
  virtual void PumpMessages() = 0;

  // Adds the command to the window's system menu, or changes its caption
  // (UTF-8) and whether it can be chosen.
  virtual void SetMenuCommand(MenuCommand command, std::string_view caption, bool enabled) = 0;
  // Tells the user something in a message box over the window and waits
  // until it is dismissed.
  virtual void ShowMessage(std::string_view text) = 0;
  // Asks the user a yes-or-no question in a message box over the window
  // and waits for the answer: true for yes.
  virtual bool AskYesNo(std::string_view question) = 0;
  // The wait cursor over the window while `busy`, the arrow again after.
  virtual void SetBusy(bool busy) = 0;

  // Ends the program at once: no further handler runs, OnUnload included.
  [[noreturn]] virtual void EndProgram() = 0;
};

}  // namespace corvella
