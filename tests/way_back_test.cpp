#include "app/way_back.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/way_back_messages.hpp"
#include "wired_program.hpp"

namespace corvella::testing {
namespace {

constexpr std::int32_t kTick = 500;

// The window over a desktop of named items, with the way back through a
// 64-bit view process and a layout kept in memory. While the way back
// waits, the shell catches up with the desktop folder.
struct WayBackScene : WiredProgram {
  WayBackScene() {
    while_paused_ = [this] { ShellShowsTheFolder(); };
  }

  void AddItems(int count) {
    for (int i = 0; i < count; ++i) {
      const int n = static_cast<int>(Items().size());
      Items().push_back({"item " + std::to_string(n), 1000 + n * 7, 2000 - n * 3});
    }
  }
  std::vector<ListItem>& Items() { return desktop_.Items(list_); }

  // The shell shows the desktop folder's heart files as its last items.
  void ShellShowsTheFolder() {
    std::erase_if(Items(), [](const ListItem& item) { return item.name.starts_with("Plim"); });
    for (const auto& entry : std::filesystem::directory_iterator(scratch_.path())) {
      Items().push_back({entry.path().filename().string(), 0, 0});
    }
  }

  void StartAndAnswerYes() {
    form_.Load(form1_);
    form_.Click(ControlId::Command4);
  }
  [[nodiscard]] std::size_t SetPosition32Messages() const {
    return static_cast<std::size_t>(std::count_if(desktop_.messages().begin(), desktop_.messages().end(),
                                                  [](auto& m) { return m.message == list_view::kSetItemPosition32; }));
  }
};

class WayBackWindow : public ::testing::Test, public WayBackScene {};

TEST_F(WayBackWindow, EachArrangementAfterARestoreSavesAfreshSoEveryRestoreBringsTheLayoutBack) {
  AddItems(20);
  const std::vector<ListItem> own = Items();
  StartAndAnswerYes();
  EXPECT_FALSE(storage_.saved.has_value());
  ASSERT_TRUE(form_.MenuItemOf(MenuCommand::RestoreLayout).has_value());
  EXPECT_FALSE(form_.MenuItemOf(MenuCommand::RestoreLayout)->enabled);

  for (const ControlId picture : {ControlId::Command1, ControlId::Command2}) {
    form_.Click(picture);
    ASSERT_NE(Items(), own);
    EXPECT_EQ(form_.MenuItemOf(MenuCommand::RestoreLayout)->caption, "元の配置に戻す\t2026-12-08 09:30:05");
    EXPECT_TRUE(form_.MenuItemOf(MenuCommand::RestoreLayout)->enabled);
    form_.ChooseMenuCommand(MenuCommand::RestoreLayout);

    EXPECT_EQ(Items(), own);
    EXPECT_FALSE(storage_.saved.has_value());  // now the backup: the next arrangement saves afresh
    EXPECT_TRUE(storage_.backup.has_value());
    EXPECT_EQ(form_.MenuItemOf(MenuCommand::RestoreLayout)->caption, "元の配置に戻す");
    EXPECT_FALSE(form_.MenuItemOf(MenuCommand::RestoreLayout)->enabled);
  }
  EXPECT_TRUE(form_.ShownMessages().empty());
  EXPECT_EQ(form_.BusyChanges().size(), 12U);  // twice the save, the picture and the restore
  // The shell's folder view is told each picture and each restore once, the restore with the saved places.
  ASSERT_EQ(desktop_.FolderViewPositioned().size(), 4U);
  for (const ItemMove& move : desktop_.FolderViewPositioned()[3])
    EXPECT_EQ(own[move.index], (ListItem{own[move.index].name, move.x, move.y}));
}

// Each case clicks the heart over fourteen items, which draws it at once.
// Whatever the click moved, a record it leaves is the desktop as it stands.
TEST(WayBackSave, KeepsAPendingLayoutAndAsksBeforeArrangingWithoutAWayBack) {
  const std::string earlier = "corvella-layout 1\t2026-12-07 18:00:00\t1920\t1080\nitem 0\t1\t5\t5\n";
  const std::string four_moved =
      "デスクトップが途中で応答しなくなったため、14 個のうち 4 個のアイコンだけを動かしました。";
  struct Case {
    const char* what;
    std::function<void(WayBackScene&)> setup;
    std::optional<bool> answer;  // to the question, when one is asked
    bool saves;
    bool moves;
    bool recorded = true;
    std::string told = {};  // the one message shown, if any
  };
  const auto stall_at = [](std::uint32_t message, std::size_t after, bool unwritable = false) {
    return [=](WayBackScene& s) {
      s.desktop_.FailMessage(message, after, true);
      s.storage_.fail_save = unwritable;
    };
  };
  const Case cases[] = {
      {"nothing saved", [](WayBackScene&) {}, std::nullopt, true, true},
      {"restored before", [&](WayBackScene& s) { s.storage_.backup = earlier; }, std::nullopt, true, true},
      {"pending", [&](WayBackScene& s) { s.storage_.saved = earlier; }, std::nullopt, false, true},
      {"unknown version", [](WayBackScene& s) { s.storage_.saved = "corvella-layout 99\n"; }, std::nullopt, true, true},
      {"damaged", [&](WayBackScene& s) { s.storage_.saved = earlier + "x\n"; }, std::nullopt, true, true},
      {"unreadable, no", [](WayBackScene& s) { s.storage_.fail_load = true; }, false, false, false, false},
      {"pending, view stalls, no",
       [&](WayBackScene& s) {
         s.storage_.saved = earlier;
         s.desktop_.FailMessage(list_view::kGetItemTextW, 3);
       },
       false, false, false, false},
      {"an icon goes during the read", [](WayBackScene& s) { s.desktop_.DropLastItemAt(list_view::kGetItemTextW, 5); },
       std::nullopt, true, true},
      {"unwritable, yes", [](WayBackScene& s) { s.storage_.fail_save = true; }, true, false, true},
      // The count that got no answer is no count of zero: no heart files.
      {"view hangs, yes", stall_at(list_view::kGetItemTextW, 3), true, false, false, false,
       "デスクトップが応答していません。アイコンは動かしていません。少し待ってから、もう一度試してください。"},
      {"view gone, yes", [](WayBackScene& s) { s.desktop_.LoseAt(list_view::kGetItemTextW, 3); }, true, false, false,
       false, "デスクトップが応答していません。アイコンは動かしていません。少し待ってから、もう一度試してください。"},
      // The save asked the spacing first; the heart asks it again.
      {"spacing stalls", stall_at(list_view::kGetItemSpacing, 1), std::nullopt, true, false, true,
       "デスクトップが途中で応答しなくなりました。アイコンは動かしていません。"
       "少し待ってから、もう一度試してください。"},
      {"move stalls", stall_at(list_view::kSetItemPosition, 4), std::nullopt, true, true, true,
       four_moved + "\n\n「元の配置に戻す」(Ctrl+Z) で、並べる前の配置に戻せます。"},
      {"unwritable, yes, move stalls", stall_at(list_view::kSetItemPosition, 4, true), true, false, true, true,
       four_moved},
  };
  for (const Case& c : cases) {
    WayBackScene scene;
    scene.AddItems(14);
    c.setup(scene);
    if (c.answer) scene.form_.AnswerQuestionsWith(*c.answer);
    const std::vector<ListItem> own = scene.Items();
    const std::optional<std::string> before = scene.storage_.saved;
    scene.StartAndAnswerYes();

    scene.form_.Click(ControlId::Command1);

    const std::vector<std::string>& asked = scene.form_.AskedQuestions();
    ASSERT_EQ(asked.size(), c.answer ? 1U : 0U) << c.what;
    if (c.answer) {
      EXPECT_TRUE(asked[0].starts_with("配置を保存できませんでした")) << asked[0];
      EXPECT_NE(asked[0].find(scene.storage_.Location()), std::string::npos) << asked[0];
    }
    EXPECT_EQ(scene.Items() != own, c.moves) << c.what;
    EXPECT_TRUE(std::filesystem::is_empty(scene.scratch_.path())) << c.what;
    EXPECT_EQ(scene.form_.ShownMessages(), c.told.empty() ? std::vector<std::string>{} : std::vector{c.told}) << c.what;
    const std::optional<RecordedPicture> record = ReadPictureRecord(scene.storage_);
    ASSERT_EQ(record.has_value(), c.recorded) << c.what;
    if (record) {
      std::vector<ListItem> recorded;
      for (const SavedItem& item : record->picture.items) recorded.push_back({item.name, item.x, item.y});
      EXPECT_EQ(recorded, scene.Items()) << c.what;
    }
    if (c.saves) {
      ASSERT_TRUE(scene.storage_.saved.has_value()) << c.what;
      EXPECT_TRUE(scene.storage_.saved->starts_with("corvella-layout 2\t2026-12-08 09:30:05")) << c.what;
    } else {
      EXPECT_EQ(scene.storage_.saved, before) << c.what;
    }
  }
}

TEST_F(WayBackWindow, ARestoreCallsOffAWaitingHeartAndRemovesItsFilesOnceTheShellDropsThem) {
  AddItems(5);
  const std::vector<ListItem> own = Items();
  StartAndAnswerYes();
  form_.Click(ControlId::Command1);  // writes nine heart files and waits for the shell
  ShellShowsTheFolder();
  ASSERT_EQ(Items().size(), 14U);
  ASSERT_TRUE(form_.Enabled(ControlId::Timer1));

  form_.ChooseMenuCommand(MenuCommand::RestoreLayout);
  form_.AdvanceTime(4 * kTick);

  EXPECT_FALSE(form_.Enabled(ControlId::Timer1));
  EXPECT_TRUE(std::filesystem::is_empty(scratch_.path()));
  EXPECT_GE(pauses_, 1);
  EXPECT_EQ(Items(), own);
}

TEST_F(WayBackWindow, ADamagedOrMissingLayoutIsToldAndNothingMovesOrGoes) {
  AddItems(14);
  storage_.saved = "corvella-layout 2\n";  // a file from elsewhere, kept as never restored
  StartAndAnswerYes();
  EXPECT_EQ(form_.MenuItemOf(MenuCommand::RestoreLayout)->caption, "元の配置に戻す");
  EXPECT_TRUE(form_.MenuItemOf(MenuCommand::RestoreLayout)->enabled);
  const std::vector<ListItem> shown = Items();
  scratch_.WriteFile("Plim1.ico", resources_.Read("HEART", "CUSTOM"));

  form_.ChooseMenuCommand(MenuCommand::RestoreLayout);

  ASSERT_EQ(form_.ShownMessages().size(), 1U);
  EXPECT_EQ(form_.ShownMessages()[0], RestoreReport({RestoreOutcome::Damaged}));
  EXPECT_EQ(storage_.saved, "corvella-layout 2\n");
  EXPECT_EQ(Items(), shown);
  EXPECT_EQ(SetPosition32Messages(), 0U);
  EXPECT_TRUE(std::filesystem::exists(scratch_.Host("Plim1.ico")));

  storage_.saved.reset();  // as a "/restore" elsewhere leaves it
  form_.OpenSystemMenu();
  EXPECT_FALSE(form_.MenuItemOf(MenuCommand::RestoreLayout)->enabled);
  form_.ChooseMenuCommand(MenuCommand::RestoreLayout);
  EXPECT_EQ(form_.ShownMessages().back(), RestoreReport({RestoreOutcome::NothingSaved}));
  EXPECT_FALSE(form_.MenuItemOf(MenuCommand::RestoreLayout)->enabled);

  // A restore that stops at a fault of its own tells that fault, not that nothing is saved.
  storage_.saved = "corvella-layout 1\t2026-12-07 18:00:00\t1920\t1080\nitem 0\t1\t5\t5\n";
  while_paused_ = [] { throw RuntimeError(RuntimeErrorKind::ServiceFailure, "the shell went away"); };
  form_.ChooseMenuCommand(MenuCommand::RestoreLayout);
  EXPECT_EQ(form_.ShownMessages().back(), RestoreFaultReport("the shell went away", true));
  EXPECT_TRUE(form_.MenuItemOf(MenuCommand::RestoreLayout)->enabled);
}

// A restore with every, some or none of the saved items on the desktop: it
// tells of those gone, and with none there it is no restore and the file stays.
TEST_F(WayBackWindow, ARestoreTellsOfSavedItemsGoneAndPutsNothingBackWithoutOne) {
  struct Case {
    std::vector<ListItem> shown;
    RestoreResult result;
    std::string report;
    int exit_code;
    bool file_retired;
    bool arranges_itself = false;
  };
  const std::string saved =
      "corvella-layout 1\t2026-12-08 09:30:05\t1920\t1080\na\t1\t10\t20\nb\t1\t30\t40\nc\t1\t5\t6\n";
  const std::string some_gone = "1 個のアイコンを元の配置に戻しました。2 個は、もうデスクトップにありません。";
  const std::string none_there =
      "保存された配置のアイコンは、どれもデスクトップにありません。アイコンは動かしていません。"
      "保存した配置は、そのまま残してあります。";
  const std::string one_unnamed =
      "1 個のアイコンは、名前がないか長すぎて見分けられないため、配置を保存できず、元に戻せませんでした。";
  const Case cases[] = {
      {{{"c", 0, 0}, {"a", 0, 0}, {"b", 0, 0}},
       {RestoreOutcome::ViewArrangesItself},
       "デスクトップのアイコンは、まだ自動で並ぶ設定です。このままでは、戻したアイコンがすぐに並べ直されるため、"
       "アイコンは動かしていません。保存した配置は、そのまま残してあります。\n\n"
       "デスクトップを右クリック → 表示 → 「アイコンの自動整列」のチェックを外してから、もう一度戻してください。",
       9,
       false,
       true},
      {{{"c", 0, 0}, {"a", 0, 0}, {"b", 0, 0}}, {RestoreOutcome::Restored, 3, 0}, "", 0, true},
      {{{"", 0, 0}, {"b", 0, 0}}, {RestoreOutcome::Restored, 1, 2, 0, 1}, some_gone + one_unnamed, 0, true},
      {{{"new", 0, 0}}, {RestoreOutcome::NothingMatched, 0, 3}, none_there, 8, false},
      {{{"", 0, 0}}, {RestoreOutcome::NothingMatched, 0, 3, 0, 1}, one_unnamed + "\n\n" + none_there, 8, false},
  };
  for (const Case& c : cases) {
    storage_.saved = saved;
    storage_.backup.reset();
    Items() = c.shown;
    desktop_.SetStyles(list_, c.arranges_itself ? list_view::kAutoArrangeStyle : 0, 0);
    const RestoreResult result = way_back_.Restore(scratch_.path().string()).result;
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(RestoreReport(result), c.report);
    EXPECT_EQ(RestoreExitCode(result.outcome), c.exit_code);
    EXPECT_EQ(storage_.saved.has_value(), !c.file_retired);
    EXPECT_EQ(storage_.backup.has_value(), c.file_retired);
  }

  storage_.saved = saved;
  Items() = {{"new", 0, 0}, {"b", 0, 0}};
  StartAndAnswerYes();
  form_.ChooseMenuCommand(MenuCommand::RestoreLayout);
  EXPECT_EQ(form_.ShownMessages(), std::vector<std::string>{some_gone});
}

// The service alone, as the window and "/restore" call it, over a desktop
// of 1920 by 1080.
struct ServiceScene : WiredProgram {
  ServiceScene() { desktop_.SetClientSize(list_, WindowSize{1920, 1080}); }

  void Show(const std::vector<ListItem>& items) { desktop_.Items(list_) = items; }
  [[nodiscard]] std::vector<ListItem> Shown() { return desktop_.Items(list_); }
  RestoreResult Restore() { return way_back_.Restore(scratch_.path().string()).result; }
};

constexpr SavedTime kFirstStart{2024, 5, 1, 9, 3, 7};
constexpr SavedTime kSecondStart{2024, 5, 2, 8, 0, 0};

const std::vector<ListItem> kOwnLayout{{"a", 10, 20}, {"b", 30, 40}, {"a", 50, 60}};
const std::string kOwnLayoutText =
    "corvella-layout 2\t2024-05-01 09:03:07\t1920\t1080\t75\t75\t0\t0\n"
    "a\t1\t10\t20\n"
    "b\t1\t30\t40\n"
    "a\t2\t50\t60\n";

TEST(WayBackService, KeepsTheFirstLayoutAcrossStartsUntilItIsRestored) {
  ServiceScene scene;
  scene.Show(kOwnLayout);
  scene.desktop_.Items(scene.list_).push_back({"", 70, 80});  // no name to restore it by: left out
  scene.now_ = kFirstStart;
  const SaveDone first = scene.way_back_.SaveUnlessPending();
  EXPECT_EQ(first.outcome, SaveOutcome::Saved);
  EXPECT_EQ(scene.storage_.saved, kOwnLayoutText);
  EXPECT_EQ(first.summary, scene.way_back_.Summary());
  ASSERT_TRUE(first.read.desktop.has_value());  // handed on, so that nothing reads the view again
  EXPECT_EQ(first.read.desktop->items.size(), 4U);

  scene.Show({{"a", 0, 0}, {"b", 1, 1}, {"a", 2, 2}});  // a heart from this run
  EXPECT_EQ(scene.way_back_.RecordPicture(scene.list_, {}), PictureRecord::Recorded);
  scene.now_ = kSecondStart;
  const SaveDone second = scene.way_back_.SaveUnlessPending();
  EXPECT_EQ(second.outcome, SaveOutcome::KeptEarlier);
  EXPECT_EQ(second.read.pending.layout, ParseSavedLayout(kOwnLayoutText).layout);
  EXPECT_EQ(scene.storage_.saved, kOwnLayoutText);
  EXPECT_EQ(second.summary, (SavedLayoutSummary{true, "2024-05-01 09:03:07"}));
  EXPECT_EQ(scene.way_back_.Summary(), second.summary);
  // A record that can be neither replaced nor removed is not trusted again:
  // another picture over the same layout is no layout of the user's.
  scene.storage_.fail_picture = true;
  scene.Show({{"a", 5, 5}, {"b", 6, 6}, {"a", 7, 7}});
  EXPECT_EQ(scene.way_back_.RecordPicture(scene.list_, {}), PictureRecord::OlderKept);
  EXPECT_EQ(scene.way_back_.SaveUnlessPending().outcome, SaveOutcome::KeptEarlier);
  scene.storage_.fail_picture = false;

  EXPECT_EQ(scene.Restore(), (RestoreResult{RestoreOutcome::Restored, 3, 0}));
  EXPECT_EQ(scene.Shown(), kOwnLayout);
  EXPECT_EQ(scene.storage_.saved, std::nullopt);
  EXPECT_EQ(scene.storage_.backup, kOwnLayoutText);
  EXPECT_EQ(scene.way_back_.Summary(), SavedLayoutSummary{});

  EXPECT_EQ(scene.way_back_.SaveUnlessPending().outcome, SaveOutcome::Saved);
  EXPECT_NE(scene.storage_.saved->find("2024-05-02 08:00:00"), std::string::npos);
  // A read-back that gets no answer records the places sent to the items
  // the save read: a layout made by hand after that picture is saved.
  scene.desktop_.FailMessage(list_view::kGetItemCount);
  EXPECT_EQ(scene.way_back_.RecordPicture(scene.list_, std::vector<ItemMove>{{0, 1, 1}, {2, 3, 3}}),
            PictureRecord::Recorded);
  scene.Show({{"a", 9, 9}, {"b", 30, 40}, {"a", 8, 8}});
  EXPECT_EQ(scene.way_back_.SaveUnlessPending().outcome, SaveOutcome::Saved);
}

TEST(WayBackService, RestoresTheItemsStillThereAndLeavesNewOnesAlone) {
  ServiceScene scene;
  scene.storage_.saved = kOwnLayoutText;
  scene.Show({{"new", 7, 7}, {"a", 0, 0}, {"", 3, 3}, {"a", 1, 1}});  // "b" was deleted, or its name unreadable

  EXPECT_EQ(scene.Restore(), (RestoreResult{RestoreOutcome::Restored, 2, 1, 0, 1}));
  EXPECT_EQ(scene.Shown(), (std::vector<ListItem>{{"new", 7, 7}, {"a", 10, 20}, {"", 3, 3}, {"a", 50, 60}}));
}

// A window system that cannot be asked for the desktop finds no view.
TEST(WayBackService, AFailedRestoreLeavesTheFileAsItWasAndMovesNothingBeforeItCan) {
  struct Case {
    const char* what;
    std::function<void(ServiceScene&)> setup;
    RestoreOutcome outcome;
    bool items_moved;
  };
  const std::string damaged = "corvella-layout 1\t2024-05-01 09:03:07\t1920\t1080\na\t1\t10\n";
  const Case cases[] = {
      {"nothing saved", [](ServiceScene& s) { s.storage_.saved.reset(); }, RestoreOutcome::NothingSaved, false},
      {"unreadable", [](ServiceScene& s) { s.storage_.fail_load = true; }, RestoreOutcome::Unreadable, false},
      {"damaged", [&](ServiceScene& s) { s.storage_.saved = damaged; }, RestoreOutcome::Damaged, false},
      {"no view", [](ServiceScene& s) { s.desktop_.FailTopLevelLookups(); }, RestoreOutcome::NoDesktopView, false},
      {"read fails", [](ServiceScene& s) { s.desktop_.FailMessage(list_view::kGetItemTextW, 1); },
       RestoreOutcome::ReadFailed, false},
      {"move fails", [](ServiceScene& s) { s.desktop_.FailMessage(list_view::kSetItemPosition32, 1); },
       RestoreOutcome::MoveFailed, true},
      {"backup fails", [](ServiceScene& s) { s.storage_.fail_mark = true; }, RestoreOutcome::RestoredFileKept, true},
      // Saved when no item had a name: nothing to put back.
      {"no item saved", [](ServiceScene& s) { s.storage_.saved = "corvella-layout 1\t2024-05-01 09:03:07\t1\t1\n"; },
       RestoreOutcome::NothingMatched, false},
  };
  const std::vector<ListItem> heart{{"a", 0, 0}, {"b", 1, 1}, {"a", 2, 2}};
  for (const Case& c : cases) {
    ServiceScene scene;
    scene.storage_.saved = kOwnLayoutText;
    scene.Show(heart);
    c.setup(scene);
    const std::optional<std::string> saved_before = scene.storage_.saved;

    EXPECT_EQ(scene.Restore().outcome, c.outcome) << c.what;
    EXPECT_EQ(scene.storage_.saved, saved_before) << c.what;
    EXPECT_EQ(scene.storage_.backup, std::nullopt) << c.what;
    EXPECT_EQ(scene.Shown() != heart, c.items_moved) << c.what;
  }
}

TEST(WayBackService, SavesNothingWhenItCannotReadTheViewOrTheFileThereAndNeverReplacesThatFile) {
  struct Case {
    const char* what;
    std::function<void(ServiceScene&)> setup;
    SaveOutcome outcome;
  };
  const Case cases[] = {
      {"file unreadable", [](ServiceScene& s) { s.storage_.fail_load = true; }, SaveOutcome::Unreadable},
      {"no view", [](ServiceScene& s) { s.desktop_.FailTopLevelLookups(); }, SaveOutcome::NoDesktopView},
      {"read fails", [](ServiceScene& s) { s.desktop_.FailMessage(list_view::kGetItemTextW, 2); },
       SaveOutcome::ReadFailed},
      {"write fails", [](ServiceScene& s) { s.storage_.fail_save = true; }, SaveOutcome::WriteFailed},
      {"disk full",
       [](ServiceScene& s) {
         s.storage_.fail_save = true;
         s.storage_.save_failure = RuntimeErrorKind::DiskFull;
       },
       SaveOutcome::DiskFull},
  };
  for (const Case& c : cases) {
    ServiceScene scene;
    scene.Show(kOwnLayout);
    c.setup(scene);
    const std::optional<std::string> before = scene.storage_.saved;
    EXPECT_EQ(scene.way_back_.SaveUnlessPending().outcome, c.outcome) << c.what;
    EXPECT_EQ(scene.storage_.saved, before) << c.what;
  }
}

TEST(WayBackService, SummaryShowsAFileThatCannotBeReadWithoutATime) {
  ServiceScene scene;
  scene.storage_.saved = "corvella-layout 9\n";
  EXPECT_EQ(scene.way_back_.Summary(), (SavedLayoutSummary{true, std::nullopt}));
  scene.storage_.fail_load = true;
  EXPECT_EQ(scene.way_back_.Summary(), (SavedLayoutSummary{true, std::nullopt}));
}

}  // namespace
}  // namespace corvella::testing
