// Which of the window's events reach its logic, in what order, and where a
// handler's failure goes. The Win32 window decodes its messages and calls in
// here; nothing here knows a window system, so the rules can be checked on
// any host.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <new>
#include <utility>
#include <vector>

#include "core/runtime_error.hpp"
#include "form/control_layout.hpp"
#include "form/form_rules.hpp"
#include "form/form_runtime.hpp"

namespace corvella {

class FormDispatch {
 public:
  explicit FormDispatch(const FormLayout& layout);

  // Events reach the logic from here on; those raised while the controls are
  // being built do not. stop runs once, when a handler fails with anything
  // but a RuntimeError: from then on no event is delivered. unhandled, when
  // given, sees each RuntimeError that a handler let pass and that failed no
  // statement.
  void Attach(FormEvents& events, std::function<void()> stop,
              std::function<void(const RuntimeError&)> unhandled = nullptr);

  void Load();
  // Only a click on an enabled push button is delivered.
  void Click(ControlId button, bool enabled);
  void TextChanged(ControlId text_box);
  // Steps the scroll bar's value; when it changes, show(value) puts the thumb
  // there before the change is delivered. Nothing happens at the ends.
  template <typename Show>
  void Scroll(ControlId scroll_bar, ScrollRequest request, int thumb_position, Show&& show);
  // A tick that was already queued when the timer was switched off is dropped.
  void Tick(ControlId timer, bool enabled);
  // The window has appeared.
  void Shown();
  void Command(MenuCommand command);
  void MenuOpening();
  void Notice(FormNotice notice);
  // The window is being closed; returns whether it may go (not cancelled).
  bool Close();
  // The session ends: the unload runs once, unless the window has unloaded.
  void EndSession();

  [[nodiscard]] std::int16_t Value(ControlId scroll_bar) const;

  // Runs a statement whose change events are handled nested, as setting a
  // text does: a RuntimeError that such a handler lets pass fails the
  // statement.
  template <typename Statement>
  void RaiseNested(Statement&& statement);
  // Runs a message pump: the events handled inside are events of their own,
  // whose failures do not fail the statement that pumps.
  template <typename Pump>
  void Pumping(Pump&& pump);

  [[nodiscard]] bool Stopped() const { return static_cast<bool>(failure_); }
  // Rethrows what stopped the events, if anything did.
  void RethrowFailure() const;

 private:
  template <typename Handler>
  void Deliver(Handler&& handler);
  // A runtime error that a handler let pass fails the statement that raised
  // the handler, if one did, and is otherwise only observed.
  void Swallow(const RuntimeError& error);
  [[nodiscard]] const ControlLayout& LayoutOf(ControlId control) const;

  std::vector<const ControlLayout*> layouts_;
  std::vector<int> values_;
  FormEvents* events_ = nullptr;
  std::function<void()> stop_;
  std::function<void(const RuntimeError&)> unhandled_;
  bool unloaded_ = false;
  std::exception_ptr* nested_failure_ = nullptr;
  std::exception_ptr failure_;
};

template <typename Handler>
void FormDispatch::Deliver(Handler&& handler) {
  if (events_ == nullptr || failure_) return;
  try {
    handler();
  } catch (const RuntimeError& error) {
    // A handler without error handling of its own failed; nothing is
    // reported, and the window goes on.
    Swallow(error);
  } catch (const std::bad_alloc&) {
    Swallow(RuntimeError(RuntimeErrorKind::OutOfMemory, "Out of memory"));
  } catch (const ProgramEnded&) {
    throw;  // the program's end unwinds every handler
  } catch (...) {
    failure_ = std::current_exception();
    if (stop_) stop_();
  }
}

template <typename Show>
void FormDispatch::Scroll(ControlId scroll_bar, ScrollRequest request, int thumb_position, Show&& show) {
  const ControlLayout& control = LayoutOf(scroll_bar);
  int& value = values_.at(static_cast<std::size_t>(scroll_bar));
  const int next = NextScrollValue(request, value, thumb_position, control.minimum, control.maximum);
  if (next == value) return;
  value = next;
  show(next);
  Deliver([&] { events_->OnChange(scroll_bar); });
}

template <typename Statement>
void FormDispatch::RaiseNested(Statement&& statement) {
  std::exception_ptr failure;
  std::exception_ptr* const outer = std::exchange(nested_failure_, &failure);
  try {
    statement();
  } catch (...) {
    nested_failure_ = outer;
    throw;
  }
  nested_failure_ = outer;
  if (failure) std::rethrow_exception(failure);
}

template <typename Pump>
void FormDispatch::Pumping(Pump&& pump) {
  std::exception_ptr* const outer = std::exchange(nested_failure_, nullptr);
  try {
    pump();
  } catch (...) {
    nested_failure_ = outer;
    throw;
  }
  nested_failure_ = outer;
}

}  // namespace corvella
