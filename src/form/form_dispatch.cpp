#include "form/form_dispatch.hpp"

#include "core/arithmetic.hpp"

namespace corvella {

FormDispatch::FormDispatch(const FormLayout& layout)
    : layouts_(ControlSlots(layout), nullptr), values_(ControlSlots(layout), 0) {
  for (const ControlLayout& control : layout.controls) {
    layouts_.at(static_cast<std::size_t>(control.id)) = &control;
    values_.at(static_cast<std::size_t>(control.id)) = control.value;
  }
}

void FormDispatch::Attach(FormEvents& events, std::function<void()> stop,
                          std::function<void(const RuntimeError&)> unhandled) {
  events_ = &events;
  stop_ = std::move(stop);
  unhandled_ = std::move(unhandled);
}

void FormDispatch::Load() {
  Deliver([&] { events_->OnLoad(); });
}

void FormDispatch::Click(ControlId button, bool enabled) {
  if (!enabled || LayoutOf(button).kind != ControlKind::PushButton) return;
  Deliver([&] { events_->OnClick(button); });
}

void FormDispatch::TextChanged(ControlId text_box) {
  Deliver([&] { events_->OnChange(text_box); });
}

void FormDispatch::Tick(ControlId timer, bool enabled) {
  if (!enabled) return;
  Deliver([&] { events_->OnTimer(timer); });
}

void FormDispatch::Shown() {
  Deliver([&] { events_->OnShown(); });
}

void FormDispatch::Command(MenuCommand command) {
  Deliver([&] { events_->OnMenuCommand(command); });
}

void FormDispatch::MenuOpening() {
  Deliver([&] { events_->OnMenuOpening(); });
}

void FormDispatch::Notice(FormNotice notice) {
  Deliver([&] { events_->OnNotice(notice); });
}

bool FormDispatch::Close() {
  if (unloaded_) return true;
  std::int16_t cancel = 0;
  Deliver([&] { events_->OnUnload(cancel); });
  unloaded_ = cancel == 0;
  return unloaded_;
}

void FormDispatch::EndSession() {
  if (unloaded_) return;
  unloaded_ = true;
  std::int16_t cancel = 0;
  Deliver([&] { events_->OnUnload(cancel); });
}

std::int16_t FormDispatch::Value(ControlId scroll_bar) const {
  return ToInt16(values_.at(static_cast<std::size_t>(scroll_bar)));
}

void FormDispatch::RethrowFailure() const {
  if (failure_) std::rethrow_exception(failure_);
}

void FormDispatch::Swallow(const RuntimeError& error) {
  if (nested_failure_ != nullptr) {
    *nested_failure_ = std::make_exception_ptr(error);
  } else if (unhandled_) {
    unhandled_(error);
  }
}

const ControlLayout& FormDispatch::LayoutOf(ControlId control) const {
  const ControlLayout* found = layouts_.at(static_cast<std::size_t>(control));
  if (found == nullptr) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "the window has no such control");
  return *found;
}

}  // namespace corvella
