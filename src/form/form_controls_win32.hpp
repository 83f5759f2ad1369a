// The window's standard controls and its timers, built from the layout
// table: the control windows, which timers run and the control that had the
// focus when the window was last deactivated. What the controls report goes
// to the window's logic through the dispatch; their state is read and set
// for it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "form/control_layout.hpp"
#include "form/form_dispatch.hpp"
#include "form/form_metrics_win32.hpp"

namespace corvella {

class FormControls {
 public:
  FormControls(const FormLayout& layout, FormDispatch& dispatch, const FormMetrics& metrics);
  FormControls(const FormControls&) = delete;
  FormControls& operator=(const FormControls&) = delete;

  // Creates every control of the layout in the window, in the font and at
  // the places of the metrics, in the order of the Tab key.
  void Create(HWND window, HINSTANCE instance);
  void FocusFirst();
  // Every control in the metrics' font again, at its place: after the DPI
  // changed.
  void Refit();
  // The window is gone, and every control with it.
  void Forget();

  void OnCommand(WPARAM wparam, LPARAM lparam);
  void OnVScroll(WPARAM wparam, LPARAM lparam);
  void OnTimer(WPARAM wparam);
  void OnActivate(WPARAM wparam);
  // Gives the focus back to the control that had it; false when none can
  // take it.
  bool OnSetFocus();
  // No timer outlives the window.
  void OnDestroy();

  [[nodiscard]] bool Enabled(ControlId control) const;
  void SetEnabled(ControlId control, bool enabled);
  [[nodiscard]] std::string Text(ControlId control) const;
  void SetText(ControlId control, std::string_view text);

 private:
  [[nodiscard]] const ControlLayout* TimerOf(WPARAM timer_id) const;
  [[nodiscard]] const ControlLayout& LayoutOf(ControlId control) const;
  [[nodiscard]] HWND ControlWindow(ControlId control) const;

  const FormLayout& layout_;
  FormDispatch& dispatch_;
  const FormMetrics& metrics_;
  HWND window_ = nullptr;
  std::vector<const ControlLayout*> layouts_;
  std::vector<HWND> controls_;
  std::vector<bool> timers_running_;
  HWND last_focus_ = nullptr;
};

}  // namespace corvella
