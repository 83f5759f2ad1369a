// A form runtime without a screen: the window's controls built from the
// layout table, with tests acting as the user and as the clock, and events
// delivered through the same dispatcher that the Win32 window uses.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/runtime_error.hpp"
#include "form/control_layout.hpp"
#include "form/form_dispatch.hpp"
#include "form/form_runtime.hpp"

namespace corvella {

enum class ScrollArrow { Up, Down };

class HeadlessForm final : public FormRuntime {
 public:
  // The layout must outlive the form.
  explicit HeadlessForm(const FormLayout& layout);
  HeadlessForm(const HeadlessForm&) = delete;
  HeadlessForm& operator=(const HeadlessForm&) = delete;

  // Builds the controls, runs OnLoad, then shows the window, gives the focus
  // to the first control in tab order that can take it and runs OnShown.
  // Once only.
  void Load(FormEvents& events);

  // FormRuntime.
  [[nodiscard]] bool Enabled(ControlId control) const override;
  void SetEnabled(ControlId control, bool enabled) override;
  [[nodiscard]] std::string Text(ControlId control) const override;
  // The text box's change runs nested; an error escaping it fails SetText.
  void SetText(ControlId control, std::string_view text) override;
  [[nodiscard]] std::int16_t Value(ControlId control) const override;
  void PumpMessages() override;
  [[noreturn]] void EndProgram() override;
  void SetMenuCommand(MenuCommand command, std::string_view caption, bool enabled) override;
  // Records the text; the test plays the user who dismisses the box.
  void ShowMessage(std::string_view text) override;
  // Records the question and gives the answer the test has set; a question
  // without one is a fault of the test.
  bool AskYesNo(std::string_view question) override;
  void SetBusy(bool busy) override;

  struct MenuItem {
    std::string caption;
    bool enabled;
  };
  [[nodiscard]] std::optional<MenuItem> MenuItemOf(MenuCommand command) const;
  [[nodiscard]] const std::vector<std::string>& ShownMessages() const { return shown_messages_; }
  [[nodiscard]] const std::vector<std::string>& AskedQuestions() const { return asked_questions_; }
  // What the user answers every question from now on: true for yes.
  void AnswerQuestionsWith(bool yes) { answer_ = yes; }
  // Every change of the cursor, in order: true for the wait cursor.
  [[nodiscard]] const std::vector<bool>& BusyChanges() const { return busy_changes_; }

  // The user's input. Queue* only queues it, as input waits in the message
  // queue while a handler runs; the others queue it and, when no handler is
  // running, let the idle window handle everything pending.
  //
  // A click on an enabled push button raises OnClick and focuses it; a click
  // on a disabled one does nothing; labels and the text box have no click.
  void QueueClick(ControlId control);
  void Click(ControlId control);
  // One character (one UTF-8 code point) typed into Text1: it replaces a
  // selection or goes at the end, and raises OnChange(Text1).
  void QueueKey(std::string_view character);
  void Type(std::string_view text);  // one key per character
  // Backspace in Text1: clears the selection or the last character.
  void QueueBackspace();
  void Backspace();
  // Selects all of Text1 (no change, no event).
  void QueueSelectAll();
  void SelectAll();
  // Replaces the whole of Text1 at once, as a paste over a selection.
  void QueueReplaceText(std::string_view text);
  void ReplaceText(std::string_view text);
  // One click on an arrow of VScroll1: the upper one lowers the value by 1,
  // the lower one raises it, within the bar's range; a change raises
  // OnChange(VScroll1).
  void QueueScroll(ScrollArrow arrow);
  void Scroll(ScrollArrow arrow);
  // The close box: OnUnload runs; unless it cancels, the window closes and,
  // being the only one, ends the program.
  void QueueClose();
  void Close();
  // A command of the system menu, or its key.
  void QueueMenuCommand(MenuCommand command);
  void ChooseMenuCommand(MenuCommand command);
  // Opens the system menu (and closes it again without a choice).
  void OpenSystemMenu();
  // A notice posted to the window, by this run of the program or another.
  void QueueNotice(FormNotice notice);
  // Tab and Shift+Tab: the next or previous control in tab order that can
  // take the focus (enabled, neither a label nor a timer), round the end.
  void Tab();
  void ShiftTab();

  // The clock. AdvanceTime lets time pass while the window is idle: every
  // enabled timer ticks once per elapsed interval, counted from when it was
  // enabled, and pending input is handled before each tick. Elapse lets
  // time pass while the program is busy: the ticks fall due and wait for
  // the next PumpMessages or the idle window.
  void AdvanceTime(std::int64_t milliseconds);
  void Elapse(std::int64_t milliseconds);
  // The idle window: handles pending input and due ticks until none is left.
  void RunPending();

  [[nodiscard]] std::optional<ControlId> Focus() const { return focus_; }
  [[nodiscard]] bool WindowIsOpen() const { return window_open_; }
  [[nodiscard]] bool ProgramHasEnded() const { return ended_; }
  [[nodiscard]] std::int64_t Now() const { return now_; }
  [[nodiscard]] std::size_t PendingInput() const { return queue_.size(); }
  // Runtime errors that escaped a handler the runtime itself ran; it goes
  // on with the next event, as a window procedure cannot let them through.
  [[nodiscard]] const std::vector<RuntimeError>& UnhandledErrors() const { return unhandled_errors_; }

 private:
  enum class InputKind { Click, Key, Backspace, SelectAll, ReplaceText, Scroll, Close, Menu, Notice };
  struct Input {
    std::uint64_t sequence;
    InputKind kind;
    std::optional<ControlId> control;  // none for the window's close box
    std::string text;
    ScrollArrow arrow;
    MenuCommand command{};
    FormNotice notice{};
  };
  struct Control {
    const ControlLayout* layout;
    bool enabled;
    std::string text;  // UTF-8
    bool all_selected = false;
    std::optional<std::int64_t> armed_at;  // timers: when last enabled
    std::int64_t ticks = 0;                // timers: ticks raised since then
  };

  Control& Find(ControlId id);
  const Control& Find(ControlId id) const;
  [[nodiscard]] bool CanTakeFocus(const Control& control) const;
  void MoveFocus(int step);
  void Enqueue(InputKind kind, std::optional<ControlId> control, std::string text = {},
               ScrollArrow arrow = ScrollArrow::Up);
  [[nodiscard]] ControlId FirstOfKind(ControlKind kind) const;
  void RunPendingIfIdle();
  void Handle(const Input& input);
  // Who raises an event: the runtime, for input, ticks, loading and closing,
  // or a handler's statement, as SetText raises the text box's change.
  enum class RaisedBy { Runtime, Statement };
  void EditText(Control& text_box, std::string text, RaisedBy raised_by = RaisedBy::Runtime);
  void HandleClose();
  static std::optional<std::int64_t> NextTick(const Control& timer);
  Control* EarliestTimer();  // the armed timer whose tick comes first
  std::optional<std::int64_t> NextTickTime();
  bool TickIsDue();
  void RaiseDueTick();
  void Shut();
  // Hands one event to the dispatcher. The end of the program unwinds every
  // handler up to the outermost event; a fault that stopped the dispatcher
  // reaches the test from there.
  template <typename Delivery>
  void Raise(Delivery&& delivery);

  std::vector<Control> controls_;  // in the layout's order, pointing into it
  FormDispatch dispatch_;
  FormEvents* events_ = nullptr;
  std::deque<Input> queue_;
  std::uint64_t next_sequence_ = 0;
  std::optional<ControlId> focus_;
  std::int64_t now_ = 0;
  int depth_ = 0;  // handlers running, nested ones included
  bool window_open_ = false;
  bool ended_ = false;
  std::vector<RuntimeError> unhandled_errors_;
  std::map<MenuCommand, MenuItem> menu_;
  std::vector<std::string> shown_messages_;
  std::vector<std::string> asked_questions_;
  std::optional<bool> answer_;
  std::vector<bool> busy_changes_;
};

}  // namespace corvella
