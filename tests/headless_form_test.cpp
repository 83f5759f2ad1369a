#include "headless_form.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_window_layout.hpp"
#include "core/resume_next.hpp"
#include "core/runtime_error.hpp"

namespace corvella {
namespace {

std::string NameOf(ControlId id) {
  for (const ControlLayout& c : MainWindowLayout().controls) {
    if (c.id == id) {
      return std::string(c.name);
    }
  }
  return "?";
}

// Logs every event and runs what a test hangs on it.
class Events final : public FormEvents {
 public:
  std::vector<std::string> log;
  std::function<void()> load;
  std::function<void(std::int16_t&)> unload;
  std::function<void(ControlId)> click;
  std::function<void(ControlId)> change;
  std::function<void(ControlId)> timer;

  void OnLoad() override { Run("Load", load); }
  void OnUnload(std::int16_t& cancel) override {
    log.push_back("Unload");
    if (unload) {
      unload(cancel);
    }
  }
  void OnClick(ControlId id) override { Run("Click " + NameOf(id), click, id); }
  void OnChange(ControlId id) override { Run("Change " + NameOf(id), change, id); }
  void OnTimer(ControlId id) override { Run("Timer " + NameOf(id), timer, id); }

 private:
  template <typename Hook, typename... Args>
  void Run(std::string entry, const Hook& hook, Args... args) {
    log.push_back(std::move(entry));
    if (hook) {
      hook(args...);
    }
  }
};

using Log = std::vector<std::string>;

class Headless : public ::testing::Test {
 protected:
  void Open() {
    form_.Load(events_);
    events_.log.clear();
  }

  Events events_;
  HeadlessForm form_{MainWindowLayout()};
};

TEST_F(Headless, LoadRunsBeforeTheWindowShowsThenTheLayoutsStateStands) {
  bool shown_during_load = true;
  std::optional<ControlId> focus_during_load = ControlId::Command1;
  events_.load = [&] {
    shown_during_load = form_.WindowIsOpen();
    focus_during_load = form_.Focus();
  };
  form_.Load(events_);

  EXPECT_EQ(events_.log, (Log{"Load"}));
  EXPECT_FALSE(shown_during_load);
  EXPECT_FALSE(focus_during_load);
  EXPECT_TRUE(form_.WindowIsOpen());
  EXPECT_FALSE(form_.ProgramHasEnded());
  EXPECT_FALSE(form_.Enabled(ControlId::Command1));
  EXPECT_FALSE(form_.Enabled(ControlId::Command2));
  EXPECT_FALSE(form_.Enabled(ControlId::Timer1));
  EXPECT_TRUE(form_.Enabled(ControlId::Command3));
  EXPECT_EQ(form_.Text(ControlId::Text1), "8");
  EXPECT_EQ(form_.Value(ControlId::VScroll1), 8);
  EXPECT_EQ(form_.Text(ControlId::Label3), "アイコンの自動整列を解除しましたか。");
  EXPECT_EQ(form_.Text(ControlId::Command2), "平行四辺形型に配置");
  EXPECT_EQ(form_.Focus(), ControlId::Command3);
  EXPECT_THROW(form_.Load(events_), std::logic_error);
}

TEST_F(Headless, TabSkipsDisabledButtonsAndLabelsAndEnabledButtonsHeadTheOrder) {
  Open();
  std::vector<ControlId> visited;
  for (int i = 0; i < 5; ++i) {
    form_.Tab();
    visited.push_back(*form_.Focus());
  }
  EXPECT_EQ(visited, (std::vector{ControlId::Text1, ControlId::VScroll1, ControlId::Command4, ControlId::Command5,
                                  ControlId::Command3}));
  form_.ShiftTab();
  EXPECT_EQ(form_.Focus(), ControlId::Command5);

  form_.SetEnabled(ControlId::Command1, true);
  form_.SetEnabled(ControlId::Command2, true);
  form_.Tab();
  EXPECT_EQ(form_.Focus(), ControlId::Command1);
  form_.Tab();
  EXPECT_EQ(form_.Focus(), ControlId::Command2);
  form_.Tab();
  EXPECT_EQ(form_.Focus(), ControlId::Command3);
  form_.ShiftTab();
  form_.ShiftTab();
  EXPECT_EQ(form_.Focus(), ControlId::Command1);

  form_.SetEnabled(ControlId::Command1, false);  // the focus moves on to the next control
  EXPECT_EQ(form_.Focus(), ControlId::Command2);
}

TEST_F(Headless, OnlyEnabledButtonsAnswerAClickAndTheyTakeTheFocus) {
  Open();
  form_.Click(ControlId::Command1);
  form_.Click(ControlId::Label3);
  form_.Click(ControlId::Text1);
  EXPECT_TRUE(events_.log.empty());
  EXPECT_EQ(form_.Focus(), ControlId::Text1);  // a click into the text box only focuses it

  form_.Click(ControlId::Command5);
  EXPECT_EQ(events_.log, (Log{"Click Command5"}));
  EXPECT_EQ(form_.Focus(), ControlId::Command5);

  form_.SetEnabled(ControlId::Command1, true);
  form_.Click(ControlId::Command1);
  EXPECT_EQ(events_.log.back(), "Click Command1");
  EXPECT_THROW(form_.QueueClick(ControlId::Timer1), std::invalid_argument);
}

TEST_F(Headless, AClickQueuedOnAButtonThatIsDisabledBeforeItIsHandledRunsNothing) {
  Open();
  form_.QueueClick(ControlId::Command4);
  form_.SetEnabled(ControlId::Command4, false);
  form_.RunPending();
  EXPECT_TRUE(events_.log.empty());
  EXPECT_EQ(form_.PendingInput(), 0U);
}

TEST_F(Headless, EveryKeyChangesTheTextAndRaisesTheChangeWithTheNewText) {
  Open();
  std::vector<std::string> seen;
  events_.change = [&](ControlId) { seen.push_back(form_.Text(ControlId::Text1)); };

  form_.SelectAll();
  EXPECT_TRUE(seen.empty());
  form_.Type("12");
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "12"}));  // the first key replaced the selection
  EXPECT_EQ(form_.Focus(), ControlId::Text1);
  EXPECT_EQ(form_.Value(ControlId::VScroll1), 8);

  form_.Type(" ２.5");
  form_.Backspace();
  form_.Backspace();
  form_.Backspace();
  EXPECT_EQ(form_.Text(ControlId::Text1), "12 ");  // the wide digit went as one character
  EXPECT_EQ(seen.size(), 9U);

  form_.SelectAll();
  form_.Backspace();
  EXPECT_EQ(form_.Text(ControlId::Text1), "");
  form_.Backspace();  // nothing left to delete: no change
  EXPECT_EQ(seen.size(), 10U);

  form_.ReplaceText("abc");
  EXPECT_EQ(seen.back(), "abc");
  EXPECT_EQ(events_.log.size(), 11U);
  EXPECT_THROW(form_.QueueKey("ab"), std::invalid_argument);
  EXPECT_THROW(form_.Type("\xFF"), std::invalid_argument);
}

TEST_F(Headless, TheSpinnersArrowsStepByOne) {
  Open();
  std::vector<int> values;
  events_.change = [&](ControlId id) {
    if (id == ControlId::VScroll1) {
      values.push_back(form_.Value(ControlId::VScroll1));
    }
  };
  form_.Scroll(ScrollArrow::Down);
  form_.Scroll(ScrollArrow::Up);
  form_.Scroll(ScrollArrow::Up);
  EXPECT_EQ(values, (std::vector{9, 8, 7}));
  EXPECT_EQ(form_.Text(ControlId::Text1), "8");  // the bar alone does not write the text
}

TEST_F(Headless, SetTextRaisesTheChangeNestedBeforeItReturns) {
  Open();
  events_.change = [&](ControlId id) {
    if (id == ControlId::VScroll1) {
      form_.SetText(ControlId::Text1, "9");
      events_.log.push_back("after SetText");
    }
  };
  form_.Scroll(ScrollArrow::Down);
  EXPECT_EQ(events_.log, (Log{"Change VScroll1", "Change Text1", "after SetText"}));
  EXPECT_EQ(form_.Text(ControlId::Text1), "9");

  form_.SetText(ControlId::Label1, "x");  // a caption: no event
  EXPECT_EQ(events_.log.size(), 3U);
  EXPECT_THROW(form_.SetText(ControlId::VScroll1, "1"), std::invalid_argument);
  EXPECT_THROW(static_cast<void>(form_.Value(ControlId::Text1)), std::invalid_argument);
}

TEST_F(Headless, TheTimerTicksOncePerIntervalCountedFromWhenItWasEnabled) {
  Open();
  form_.AdvanceTime(200);
  form_.SetEnabled(ControlId::Timer1, true);
  form_.AdvanceTime(499);
  EXPECT_TRUE(events_.log.empty());
  form_.AdvanceTime(1);
  EXPECT_EQ(events_.log, (Log{"Timer Timer1"}));
  form_.AdvanceTime(1000);
  EXPECT_EQ(events_.log.size(), 3U);

  form_.AdvanceTime(250);
  form_.SetEnabled(ControlId::Timer1, true);  // already on: keeps its rhythm
  form_.AdvanceTime(250);
  EXPECT_EQ(events_.log.size(), 4U);

  form_.SetEnabled(ControlId::Timer1, false);
  form_.AdvanceTime(5000);
  EXPECT_EQ(events_.log.size(), 4U);
  form_.SetEnabled(ControlId::Timer1, true);  // off and on again: counts anew
  form_.AdvanceTime(499);
  EXPECT_EQ(events_.log.size(), 4U);
  form_.AdvanceTime(1);
  EXPECT_EQ(events_.log.size(), 5U);
}

TEST_F(Headless, ATickThatSwitchesTheTimerOffIsTheLast) {
  Open();
  int ticks = 0;
  events_.timer = [&](ControlId) {
    if (++ticks == 2) {
      form_.SetEnabled(ControlId::Timer1, false);
    }
  };
  form_.SetEnabled(ControlId::Timer1, true);
  form_.AdvanceTime(10'000);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(form_.Now(), 10'000);
}

TEST_F(Headless, AHandlersPumpHandlesWhatIsQueuedNowAndLeavesWhatItsHandlersQueue) {
  Open();
  form_.SetEnabled(ControlId::Timer1, true);
  events_.click = [&](ControlId id) {
    if (id == ControlId::Command4) {
      form_.PumpMessages();
      events_.log.push_back("pumped");
    } else if (id == ControlId::Command5) {
      form_.QueueScroll(ScrollArrow::Down);  // arrives during the pump
    }
  };
  form_.QueueClick(ControlId::Command4);
  form_.QueueClick(ControlId::Command5);
  form_.QueueKey("3");
  form_.Elapse(500);  // busy: the tick falls due and waits
  EXPECT_TRUE(events_.log.empty());

  form_.RunPending();
  EXPECT_EQ(events_.log,
            (Log{"Click Command4", "Click Command5", "Change Text1", "Timer Timer1", "pumped", "Change VScroll1"}));
  EXPECT_EQ(form_.Text(ControlId::Text1), "83");
  EXPECT_EQ(form_.PendingInput(), 0U);
}

TEST_F(Headless, InputWhileAHandlerRunsWaitsForItsPumpOrItsEnd) {
  Open();
  events_.click = [&](ControlId id) {
    if (id == ControlId::Command4) {
      form_.Click(ControlId::Command5);  // the user clicks while the program is busy
      events_.log.push_back("busy");
    }
  };
  form_.Click(ControlId::Command4);
  EXPECT_EQ(events_.log, (Log{"Click Command4", "busy", "Click Command5"}));
}

TEST_F(Headless, EndingTheProgramStopsTheRunningHandlersAndEveryLaterEvent) {
  Open();
  form_.SetEnabled(ControlId::Timer1, true);
  events_.click = [&](ControlId id) {
    if (id == ControlId::Command4) {
      form_.PumpMessages();
      events_.log.push_back("after the pump");
    } else if (id == ControlId::Command3) {
      form_.EndProgram();
    }
  };
  form_.QueueClick(ControlId::Command4);
  form_.QueueClick(ControlId::Command3);
  form_.QueueClick(ControlId::Command5);
  form_.RunPending();

  EXPECT_EQ(events_.log, (Log{"Click Command4", "Click Command3"}));
  EXPECT_TRUE(form_.ProgramHasEnded());
  EXPECT_FALSE(form_.WindowIsOpen());
  EXPECT_FALSE(form_.Focus());
  form_.AdvanceTime(5000);
  form_.Close();
  form_.Click(ControlId::Command5);
  form_.SetText(ControlId::Text1, "1");
  EXPECT_EQ(events_.log.size(), 2U);
}

TEST_F(Headless, ClosingRunsUnloadWhichMayKeepTheWindowOpen) {
  Open();
  form_.SetEnabled(ControlId::Timer1, true);
  events_.unload = [&](std::int16_t& cancel) { cancel = form_.Text(ControlId::Text1) == "8" ? 1 : 0; };
  form_.Close();
  EXPECT_EQ(events_.log, (Log{"Unload"}));
  EXPECT_TRUE(form_.WindowIsOpen());

  form_.ReplaceText("5");
  form_.Close();
  EXPECT_EQ(events_.log, (Log{"Unload", "Change Text1", "Unload"}));
  EXPECT_FALSE(form_.WindowIsOpen());
  EXPECT_TRUE(form_.ProgramHasEnded());
  form_.AdvanceTime(5000);
  EXPECT_EQ(events_.log.size(), 3U);
}

TEST_F(Headless, AnErrorEscapingAHandlerFailsTheSetTextThatRaisedItOrIsRecorded) {
  Open();
  events_.change = [&](ControlId id) {
    if (id == ControlId::Text1) {
      throw RuntimeError(RuntimeErrorKind::TypeMismatch, "no number");
    }
    const bool set = ResumeNext([&] { form_.SetText(ControlId::Text1, "x"); });
    events_.log.push_back(set ? "set" : "SetText failed");
  };
  form_.Scroll(ScrollArrow::Up);
  EXPECT_EQ(events_.log, (Log{"Change VScroll1", "Change Text1", "SetText failed"}));
  EXPECT_EQ(form_.Text(ControlId::Text1), "x");  // the text was set before its handler failed
  EXPECT_TRUE(form_.UnhandledErrors().empty());

  form_.Type("1");  // typed: nobody's statement to fail, so the runtime records it and goes on
  ASSERT_EQ(form_.UnhandledErrors().size(), 1U);
  EXPECT_EQ(form_.UnhandledErrors()[0].kind(), RuntimeErrorKind::TypeMismatch);
  form_.Click(ControlId::Command5);
  EXPECT_EQ(events_.log.back(), "Click Command5");
}

TEST_F(Headless, EndingTheProgramDuringLoadNeverShowsTheWindow) {
  events_.load = [&] { form_.EndProgram(); };
  form_.Load(events_);
  EXPECT_TRUE(form_.ProgramHasEnded());
  EXPECT_FALSE(form_.WindowIsOpen());
  form_.Click(ControlId::Command5);
  EXPECT_EQ(events_.log, (Log{"Load"}));
}

}  // namespace
}  // namespace corvella
