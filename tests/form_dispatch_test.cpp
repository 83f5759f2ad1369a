#include "form/form_dispatch.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window_layout.hpp"

namespace corvella {
namespace {

using ::testing::ElementsAre;

// Records what reaches the window's logic; each handler can be made to run a
// statement of its own (fail, pump, set a text).
class RecordingEvents : public FormEvents {
 public:
  std::vector<std::string> log;
  std::function<void()> on_change;
  std::function<void()> on_click;
  std::int16_t cancel_with = 0;

  void OnLoad() override { log.push_back("load"); }
  void OnUnload(std::int16_t& cancel) override {
    log.push_back("unload");
    cancel = cancel_with;
  }
  void OnClick(ControlId button) override {
    log.push_back("click " + Name(button));
    if (on_click) on_click();
  }
  void OnChange(ControlId control) override {
    log.push_back("change " + Name(control));
    if (on_change) on_change();
  }
  void OnTimer(ControlId timer) override { log.push_back("tick " + Name(timer)); }

 private:
  static std::string Name(ControlId id) {
    for (const ControlLayout& control : MainWindowLayout().controls) {
      if (control.id == id) return std::string(control.name);
    }
    return "?";
  }
};

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    dispatch_.Attach(events_, [this] { ++stops_; });
  }

  void ScrollDown() {
    dispatch_.Scroll(ControlId::VScroll1, ScrollRequest::LineDown, 0, [this](int value) { shown_.push_back(value); });
  }

  RecordingEvents events_;
  FormDispatch dispatch_{MainWindowLayout()};
  int stops_ = 0;
  std::vector<int> shown_;
};

TEST(FormDispatchBeforeAttach, EventsWhileTheControlsAreBuiltReachNobody) {
  RecordingEvents events;
  FormDispatch dispatch(MainWindowLayout());
  dispatch.TextChanged(ControlId::Text1);
  dispatch.Click(ControlId::Command3, true);
  dispatch.Attach(events, nullptr);
  dispatch.TextChanged(ControlId::Text1);
  EXPECT_THAT(events.log, ElementsAre("change Text1"));
}

TEST_F(Dispatch, OnlyEnabledPushButtonsAndEnabledTimersAreHeard) {
  dispatch_.Load();
  dispatch_.Click(ControlId::Command1, false);
  dispatch_.Click(ControlId::Command4, true);
  dispatch_.Click(ControlId::Label3, true);
  dispatch_.Tick(ControlId::Timer1, false);
  dispatch_.Tick(ControlId::Timer1, true);
  EXPECT_THAT(events_.log, ElementsAre("load", "click Command4", "tick Timer1"));
}

TEST_F(Dispatch, TheScrollBarShowsItsNewValueBeforeItsChangeRuns) {
  std::vector<int> seen_by_handler;
  events_.on_change = [&] { seen_by_handler.push_back(dispatch_.Value(ControlId::VScroll1)); };
  EXPECT_EQ(dispatch_.Value(ControlId::VScroll1), 8);
  ScrollDown();
  EXPECT_EQ(dispatch_.Value(ControlId::VScroll1), 9);
  EXPECT_THAT(shown_, ElementsAre(9));
  EXPECT_THAT(seen_by_handler, ElementsAre(9));
  EXPECT_THAT(events_.log, ElementsAre("change VScroll1"));
}

TEST_F(Dispatch, TheScrollBarAtItsEndsChangesNothing) {
  dispatch_.Scroll(ControlId::VScroll1, ScrollRequest::Bottom, 0, [this](int value) { shown_.push_back(value); });
  ScrollDown();
  dispatch_.Scroll(ControlId::VScroll1, ScrollRequest::ThumbPosition, 0,
                   [this](int value) { shown_.push_back(value); });
  dispatch_.Scroll(ControlId::VScroll1, ScrollRequest::LineUp, 0, [this](int value) { shown_.push_back(value); });
  EXPECT_THAT(shown_, ElementsAre(30, 0));
  EXPECT_THAT(events_.log, ElementsAre("change VScroll1", "change VScroll1"));
  EXPECT_EQ(dispatch_.Value(ControlId::VScroll1), 0);
}

TEST_F(Dispatch, AFailingHandlerIsSwallowedUnlessAStatementRaisedItNested) {
  events_.on_change = [] { throw RuntimeError(RuntimeErrorKind::TypeMismatch, "no number"); };
  EXPECT_NO_THROW(dispatch_.TextChanged(ControlId::Text1));
  // Setting the text raises the change inside the statement: its failure
  // fails the statement.
  try {
    dispatch_.RaiseNested([&] { dispatch_.TextChanged(ControlId::Text1); });
    ADD_FAILURE() << "the nested failure did not reach the statement";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.kind(), RuntimeErrorKind::TypeMismatch);
  }
  // After the statement, failures are swallowed again.
  EXPECT_NO_THROW(dispatch_.TextChanged(ControlId::Text1));
  // Running out of memory is one of the runtime's own errors, not a fault
  // that ends the window.
  events_.on_change = [] { throw std::bad_alloc(); };
  EXPECT_NO_THROW(dispatch_.TextChanged(ControlId::Text1));
  try {
    dispatch_.RaiseNested([&] { dispatch_.TextChanged(ControlId::Text1); });
    ADD_FAILURE() << "running out of memory did not fail the statement";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.kind(), RuntimeErrorKind::OutOfMemory);
  }
  EXPECT_EQ(stops_, 0);
}

TEST_F(Dispatch, EventsPumpedInsideAStatementAreEventsOfTheirOwn) {
  // A handler sets a text, and the text box's handler pumps; a click handled
  // in that pump fails, but the text was set without fault.
  events_.on_click = [] { throw RuntimeError(RuntimeErrorKind::Overflow, "in the click"); };
  events_.on_change = [&] {
    events_.on_change = nullptr;
    dispatch_.Pumping([&] { dispatch_.Click(ControlId::Command4, true); });
  };
  EXPECT_NO_THROW(dispatch_.RaiseNested([&] { dispatch_.TextChanged(ControlId::Text1); }));
  EXPECT_THAT(events_.log, ElementsAre("change Text1", "click Command4"));
}

TEST_F(Dispatch, AFaultOtherThanARuntimeErrorStopsEveryLaterEvent) {
  events_.on_click = [] { throw std::logic_error("a fault of the program"); };
  dispatch_.Click(ControlId::Command4, true);
  EXPECT_EQ(stops_, 1);
  EXPECT_TRUE(dispatch_.Stopped());
  dispatch_.Click(ControlId::Command4, true);
  dispatch_.Tick(ControlId::Timer1, true);
  EXPECT_TRUE(dispatch_.Close());
  EXPECT_THAT(events_.log, ElementsAre("click Command4"));
  EXPECT_EQ(stops_, 1);
  EXPECT_THROW(dispatch_.RethrowFailure(), std::logic_error);
}

TEST_F(Dispatch, ACancelledCloseKeepsTheWindowAndTheUnloadRunsAgainNextTime) {
  events_.cancel_with = 1;
  EXPECT_FALSE(dispatch_.Close());
  events_.cancel_with = 0;
  EXPECT_TRUE(dispatch_.Close());
  EXPECT_THAT(events_.log, ElementsAre("unload", "unload"));
}

TEST_F(Dispatch, TheEndOfTheSessionUnloadsOnceAndNeverAfterAClose) {
  dispatch_.EndSession();
  dispatch_.EndSession();
  EXPECT_THAT(events_.log, ElementsAre("unload"));

  RecordingEvents closed;
  FormDispatch other(MainWindowLayout());
  other.Attach(closed, nullptr);
  EXPECT_TRUE(other.Close());
  other.EndSession();
  EXPECT_THAT(closed.log, ElementsAre("unload"));
}

}  // namespace
}  // namespace corvella
