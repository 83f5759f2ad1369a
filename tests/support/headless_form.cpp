#include "headless_form.hpp"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/unicode.hpp"

namespace corvella {
namespace {

bool IsContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Splits UTF-8 text into its characters, one key each.
std::vector<std::string> Characters(std::string_view text) {
  std::vector<std::string> characters;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    if (!DecodeUtf8(text, pos)) {
      throw std::invalid_argument("typed text is not UTF-8");
    }
    characters.emplace_back(text.substr(start, pos - start));
  }
  return characters;
}

void RemoveLastCharacter(std::string& text) {
  while (!text.empty() && IsContinuation(text.back())) {
    text.pop_back();
  }
  if (!text.empty()) {
    text.pop_back();
  }
}

}  // namespace

HeadlessForm::HeadlessForm(const FormLayout& layout) : dispatch_(layout) {
  for (const ControlLayout& control : layout.controls) {
    controls_.push_back({&control, control.enabled, Utf16ToUtf8(control.text), false, std::nullopt, 0});
  }
}

template <typename Delivery>
void HeadlessForm::Raise(Delivery&& delivery) {
  if (ended_ || events_ == nullptr) {
    return;
  }
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
  };
  const bool outermost = depth_ == 0;
  try {
    const Depth running(depth_);
    std::forward<Delivery>(delivery)();
  } catch (const ProgramEnded&) {
    if (!outermost) {
      throw;  // unwinds every handler up to the outermost event
    }
  }
  if (outermost) {
    dispatch_.RethrowFailure();
  }
}

void HeadlessForm::Load(FormEvents& events) {
  if (events_ != nullptr) {
    throw std::logic_error("the window is loaded once");
  }
  events_ = &events;
  dispatch_.Attach(
      events, [this] { Shut(); }, [this](const RuntimeError& error) { unhandled_errors_.push_back(error); });
  for (Control& control : controls_) {
    if (control.layout->kind == ControlKind::Timer && control.enabled) {
      control.armed_at = now_;
    }
  }
  Raise([&] { dispatch_.Load(); });
  if (ended_) {
    return;
  }
  window_open_ = true;
  MoveFocus(1);
  Raise([&] { dispatch_.Shown(); });
}

HeadlessForm::Control& HeadlessForm::Find(ControlId id) { return const_cast<Control&>(std::as_const(*this).Find(id)); }

const HeadlessForm::Control& HeadlessForm::Find(ControlId id) const {
  const auto found =
      std::find_if(controls_.begin(), controls_.end(), [id](const Control& c) { return c.layout->id == id; });
  if (found == controls_.end()) {
    throw std::invalid_argument("the window has no such control");
  }
  return *found;
}

ControlId HeadlessForm::FirstOfKind(ControlKind kind) const {
  const auto found =
      std::find_if(controls_.begin(), controls_.end(), [kind](const Control& c) { return c.layout->kind == kind; });
  if (found == controls_.end()) {
    throw std::invalid_argument("the window has no control of that kind");
  }
  return found->layout->id;
}

bool HeadlessForm::Enabled(ControlId control) const { return Find(control).enabled; }

void HeadlessForm::SetEnabled(ControlId id, bool enabled) {
  Control& control = Find(id);
  control.enabled = enabled;
  if (control.layout->kind != ControlKind::Timer) {
    if (!enabled && focus_ == id) {
      MoveFocus(1);  // a disabled control cannot keep the focus
    }
    return;
  }
  if (!enabled) {
    control.armed_at.reset();
  } else if (!control.armed_at) {
    // Enabling a running timer keeps its rhythm; a stopped one starts anew.
    control.armed_at = now_;
    control.ticks = 0;
  }
}

std::string HeadlessForm::Text(ControlId control) const { return Find(control).text; }

void HeadlessForm::SetText(ControlId id, std::string_view text) {
  Control& control = Find(id);
  switch (control.layout->kind) {
    case ControlKind::TextBox:
      EditText(control, std::string(text), RaisedBy::Statement);
      return;
    case ControlKind::PushButton:
    case ControlKind::Label:
      control.text = text;
      return;
    case ControlKind::VerticalScrollBar:
    case ControlKind::Timer:
      break;
  }
  throw std::invalid_argument("the control has no text");
}

std::int16_t HeadlessForm::Value(ControlId id) const {
  const Control& control = Find(id);
  if (control.layout->kind != ControlKind::VerticalScrollBar) {
    throw std::invalid_argument("the control has no value");
  }
  return dispatch_.Value(id);
}

void HeadlessForm::EditText(Control& text_box, std::string text, RaisedBy raised_by) {
  text_box.text = std::move(text);
  text_box.all_selected = false;
  // Every edit, a handler's included, raises the change event at once; a
  // handler's error fails the statement that edited.
  const ControlId id = text_box.layout->id;
  if (raised_by == RaisedBy::Statement) {
    dispatch_.RaiseNested([&] { Raise([&] { dispatch_.TextChanged(id); }); });
  } else {
    Raise([&] { dispatch_.TextChanged(id); });
  }
}

void HeadlessForm::PumpMessages() {
  // Only what is pending now: input queued by the handlers that run here
  // waits for the next pump.
  dispatch_.Pumping([&] {
    const std::uint64_t limit = next_sequence_;
    while (!ended_ && window_open_ && !queue_.empty() && queue_.front().sequence < limit) {
      const Input input = std::move(queue_.front());
      queue_.pop_front();
      Handle(input);
    }
    while (!ended_ && events_ != nullptr && TickIsDue()) {
      RaiseDueTick();
    }
  });
}

void HeadlessForm::EndProgram() {
  Shut();
  throw ProgramEnded{};
}

void HeadlessForm::SetMenuCommand(MenuCommand command, std::string_view caption, bool enabled) {
  menu_[command] = {std::string(caption), enabled};
}

std::optional<HeadlessForm::MenuItem> HeadlessForm::MenuItemOf(MenuCommand command) const {
  const auto found = menu_.find(command);
  if (found == menu_.end()) {
    return std::nullopt;
  }
  return found->second;
}

void HeadlessForm::ShowMessage(std::string_view text) { shown_messages_.emplace_back(text); }

bool HeadlessForm::AskYesNo(std::string_view question) {
  asked_questions_.emplace_back(question);
  if (!answer_) {
    throw std::logic_error("the test set no answer for the question: " + std::string(question));
  }
  return *answer_;
}

void HeadlessForm::SetBusy(bool busy) { busy_changes_.push_back(busy); }

void HeadlessForm::Shut() {
  ended_ = true;
  window_open_ = false;
  focus_.reset();
  queue_.clear();
  for (Control& control : controls_) {
    control.armed_at.reset();
  }
}

void HeadlessForm::Enqueue(InputKind kind, std::optional<ControlId> control, std::string text, ScrollArrow arrow) {
  if (ended_) {
    return;
  }
  queue_.push_back({next_sequence_++, kind, control, std::move(text), arrow});
}

void HeadlessForm::RunPendingIfIdle() {
  if (depth_ == 0) {
    RunPending();
  }
}

void HeadlessForm::RunPending() {
  if (depth_ > 0) {
    throw std::logic_error("the window is busy running a handler");
  }
  while (!ended_ && events_ != nullptr && ((window_open_ && !queue_.empty()) || TickIsDue())) {
    PumpMessages();
  }
}

void HeadlessForm::QueueClick(ControlId control) {
  if (Find(control).layout->kind == ControlKind::Timer) {
    throw std::invalid_argument("a timer is not shown");
  }
  Enqueue(InputKind::Click, control);
}

void HeadlessForm::Click(ControlId control) {
  QueueClick(control);
  RunPendingIfIdle();
}

void HeadlessForm::QueueKey(std::string_view character) {
  if (Characters(character).size() != 1) {
    throw std::invalid_argument("a key types one character");
  }
  Enqueue(InputKind::Key, FirstOfKind(ControlKind::TextBox), std::string(character));
}

void HeadlessForm::Type(std::string_view text) {
  const ControlId text_box = FirstOfKind(ControlKind::TextBox);
  for (std::string& character : Characters(text)) {
    Enqueue(InputKind::Key, text_box, std::move(character));
  }
  RunPendingIfIdle();
}

void HeadlessForm::QueueBackspace() { Enqueue(InputKind::Backspace, FirstOfKind(ControlKind::TextBox)); }

void HeadlessForm::Backspace() {
  QueueBackspace();
  RunPendingIfIdle();
}

void HeadlessForm::QueueSelectAll() { Enqueue(InputKind::SelectAll, FirstOfKind(ControlKind::TextBox)); }

void HeadlessForm::SelectAll() {
  QueueSelectAll();
  RunPendingIfIdle();
}

void HeadlessForm::QueueReplaceText(std::string_view text) {
  Characters(text);  // rejects text that is not UTF-8
  Enqueue(InputKind::ReplaceText, FirstOfKind(ControlKind::TextBox), std::string(text));
}

void HeadlessForm::ReplaceText(std::string_view text) {
  QueueReplaceText(text);
  RunPendingIfIdle();
}

void HeadlessForm::QueueScroll(ScrollArrow arrow) {
  Enqueue(InputKind::Scroll, FirstOfKind(ControlKind::VerticalScrollBar), {}, arrow);
}

void HeadlessForm::Scroll(ScrollArrow arrow) {
  QueueScroll(arrow);
  RunPendingIfIdle();
}

void HeadlessForm::QueueClose() { Enqueue(InputKind::Close, std::nullopt); }

void HeadlessForm::Close() {
  QueueClose();
  RunPendingIfIdle();
}

void HeadlessForm::QueueMenuCommand(MenuCommand command) {
  if (!ended_) {
    queue_.push_back({next_sequence_++, InputKind::Menu, std::nullopt, {}, ScrollArrow::Up, command});
  }
}

void HeadlessForm::QueueNotice(FormNotice notice) {
  if (!ended_) {
    queue_.push_back({next_sequence_++, InputKind::Notice, std::nullopt, {}, ScrollArrow::Up, {}, notice});
  }
}

void HeadlessForm::OpenSystemMenu() {
  Raise([&] { dispatch_.MenuOpening(); });
}

void HeadlessForm::ChooseMenuCommand(MenuCommand command) {
  QueueMenuCommand(command);
  RunPendingIfIdle();
}

void HeadlessForm::Handle(const Input& input) {
  if (input.kind == InputKind::Close) {
    HandleClose();
    return;
  }
  if (input.kind == InputKind::Menu) {
    Raise([&] { dispatch_.Command(input.command); });
    return;
  }
  if (input.kind == InputKind::Notice) {
    Raise([&] { dispatch_.Notice(input.notice); });
    return;
  }
  Control& control = Find(*input.control);
  // A disabled control takes no mouse or keyboard input.
  if (!control.enabled) {
    return;
  }
  if (CanTakeFocus(control)) {
    focus_ = *input.control;
  }
  switch (input.kind) {
    case InputKind::Click:
      Raise([&] { dispatch_.Click(*input.control, control.enabled); });
      return;
    case InputKind::Key:
      EditText(control, control.all_selected ? input.text : control.text + input.text);
      return;
    case InputKind::Backspace:
      if (control.all_selected) {
        EditText(control, {});
      } else if (!control.text.empty()) {
        std::string text = control.text;
        RemoveLastCharacter(text);
        EditText(control, std::move(text));
      }
      return;
    case InputKind::SelectAll:
      control.all_selected = !control.text.empty();
      return;
    case InputKind::ReplaceText:
      EditText(control, input.text);
      return;
    case InputKind::Scroll: {
      const ScrollRequest request = input.arrow == ScrollArrow::Up ? ScrollRequest::LineUp : ScrollRequest::LineDown;
      Raise([&] { dispatch_.Scroll(*input.control, request, 0, [](int /*value*/) {}); });
      return;
    }
    case InputKind::Close:
    case InputKind::Menu:
    case InputKind::Notice:
      break;
  }
}

void HeadlessForm::HandleClose() {
  if (!window_open_) {
    return;
  }
  bool may_close = false;
  Raise([&] { may_close = dispatch_.Close(); });
  if (!ended_ && may_close) {
    Shut();
  }
}

bool HeadlessForm::CanTakeFocus(const Control& control) const {
  return control.enabled && control.layout->tab_index >= 0 && control.layout->kind != ControlKind::Label &&
         control.layout->kind != ControlKind::Timer;
}

void HeadlessForm::Tab() { MoveFocus(1); }

void HeadlessForm::ShiftTab() { MoveFocus(-1); }

void HeadlessForm::MoveFocus(int step) {
  if (!window_open_) {
    return;
  }
  std::vector<const Control*> order;
  for (const Control& control : controls_) {
    if (control.layout->tab_index >= 0) {
      order.push_back(&control);
    }
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->layout->tab_index < b->layout->tab_index; });
  const int count = static_cast<int>(order.size());
  const auto current =
      std::find_if(order.begin(), order.end(), [this](const Control* c) { return focus_ && c->layout->id == *focus_; });
  // Without a focus, the search starts just before the first control (or
  // just after the last one, going backwards).
  int position = current != order.end() ? static_cast<int>(current - order.begin()) : (step > 0 ? -1 : count);
  for (int tried = 0; tried < count; ++tried) {
    position = ((position + step) % count + count) % count;
    if (CanTakeFocus(*order[static_cast<std::size_t>(position)])) {
      focus_ = order[static_cast<std::size_t>(position)]->layout->id;
      return;
    }
  }
}

std::optional<std::int64_t> HeadlessForm::NextTick(const Control& timer) {
  if (!timer.armed_at || timer.layout->interval_ms <= 0) {
    return std::nullopt;
  }
  return *timer.armed_at + (timer.ticks + 1) * timer.layout->interval_ms;
}

HeadlessForm::Control* HeadlessForm::EarliestTimer() {
  Control* earliest = nullptr;
  for (Control& control : controls_) {
    const std::optional<std::int64_t> due = NextTick(control);
    if (due && (earliest == nullptr || *due < *NextTick(*earliest))) {
      earliest = &control;
    }
  }
  return earliest;
}

std::optional<std::int64_t> HeadlessForm::NextTickTime() {
  const Control* timer = EarliestTimer();
  return timer != nullptr ? NextTick(*timer) : std::nullopt;
}

bool HeadlessForm::TickIsDue() {
  const std::optional<std::int64_t> next = NextTickTime();
  return next && *next <= now_;
}

void HeadlessForm::RaiseDueTick() {
  Control* timer = EarliestTimer();
  if (timer == nullptr || *NextTick(*timer) > now_) {
    return;
  }
  ++timer->ticks;
  Raise([&] { dispatch_.Tick(timer->layout->id, timer->armed_at.has_value()); });
}

void HeadlessForm::AdvanceTime(std::int64_t milliseconds) {
  if (milliseconds < 0) {
    throw std::invalid_argument("time does not run backwards");
  }
  const std::int64_t target = now_ + milliseconds;
  RunPending();
  for (std::optional<std::int64_t> next = NextTickTime(); !ended_ && next && *next <= target; next = NextTickTime()) {
    now_ = std::max(now_, *next);
    RunPending();
  }
  now_ = std::max(now_, target);
}

void HeadlessForm::Elapse(std::int64_t milliseconds) {
  if (milliseconds < 0) {
    throw std::invalid_argument("time does not run backwards");
  }
  now_ += milliseconds;
}

}  // namespace corvella
