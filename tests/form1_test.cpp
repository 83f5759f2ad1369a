#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "arrangement_expectations.hpp"
#include "wired_program.hpp"

namespace corvella::testing {
namespace {

constexpr std::int32_t kTick = 500;
using Announcements = std::vector<std::pair<FileChange, std::string>>;

// The program on a headless window, a scratch desktop folder and an
// in-memory shell whose desktop shows some icons of its own plus the files
// of the desktop folder, once the test lets the shell catch up. An earlier
// run's layout waits to be restored, so that the arrangements save none.
class MainWindow : public ::testing::Test, public WiredProgram {
 protected:
  MainWindow() {
    desktop_.SetItemCountSource(list_, [this] { return own_icons_ + shown_files_; });
    storage_.saved = "corvella-layout 1\t2026-12-07 18:00:00\t1920\t1080\nitem\t1\t10\t20\n";
  }

  void Start() {
    form_.Load(form1_);
    desktop_.ClearMessages();
  }

  // The shell shows what the desktop folder holds now.
  void ShellCatchesUp() { shown_files_ = static_cast<std::int32_t>(Files().size()); }

  [[nodiscard]] std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(scratch_.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  [[nodiscard]] std::vector<std::uint8_t> Heart() { return resources_.Read("HEART", "CUSTOM"); }

  // Yes asks the view whether it arranges itself; what the arrangements
  // send is counted from here.
  void AnswerYes() {
    form_.Click(ControlId::Command4);
    desktop_.ClearMessages();
  }

  // What the view was sent besides the reads of every item's name and place,
  // each a count, the items and a count again, that decide the save at a
  // click and record each picture; the save asks the view's spacing first.
  [[nodiscard]] std::vector<SentMessage> SentBesidesReads() const {
    const std::vector<SentMessage>& all = desktop_.messages();
    std::vector<SentMessage> sent;
    const auto read = [&](std::size_t i) {
      return all[i].message == list_view::kGetItemTextW || all[i].message == list_view::kGetItemPosition;
    };
    for (std::size_t i = 0; i < all.size(); ++i) {
      const std::uint32_t next = i + 1 < all.size() ? all[i + 1].message : 0;
      const bool around_read = (all[i].message == list_view::kGetItemCount &&
                                (next == list_view::kGetItemTextW || (i > 0 && read(i - 1)))) ||
                               (all[i].message == list_view::kGetItemSpacing && next == list_view::kGetItemCount);
      if (!read(i) && !around_read) sent.push_back(all[i]);
    }
    return sent;
  }

  // The count of the click or the tick, then the heart with its own count.
  [[nodiscard]] std::vector<SentMessage> CountThenHeart() const {
    auto expected = std::vector<SentMessage>{CountMessage(list_)};
    const auto heart = CountThenMoves(list_, HeartOutline());
    expected.insert(expected.end(), heart.begin(), heart.end());
    return expected;
  }

  std::int32_t own_icons_ = 5;  // the desktop's own icons, besides the folder's files
  std::int32_t shown_files_ = 0;
};

TEST_F(MainWindow, StartsWithTheQuestionAndRemovesOnlyItsOwnIconFiles) {
  scratch_.WriteFile("Plim1.ico", Heart());
  scratch_.WriteFile("Plim14.ico", Heart());
  scratch_.WriteFile("Plim3.ico", {1, 2, 3});
  scratch_.WriteFile("Plimsoll.ico", {0, 0, 1, 0});
  scratch_.WriteFile("Plim1.bmp", Heart());

  Start();

  EXPECT_EQ(Files(), (std::vector<std::string>{"Plim1.bmp", "Plim3.ico", "Plimsoll.ico"}));
  EXPECT_EQ(form1_.strDesktop, scratch_.path().string());
  EXPECT_EQ(form1_.Desktop().lngRows, 8);
  ASSERT_NE(form1_.objFolder, nullptr);
  EXPECT_FALSE(form_.Enabled(ControlId::Command1));
  EXPECT_FALSE(form_.Enabled(ControlId::Command2));
  EXPECT_FALSE(form_.Enabled(ControlId::Timer1));
  EXPECT_EQ(form_.Focus(), ControlId::Command3);
  EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(MainWindow, NoChangesNothingAndYesEnablesBothArrangements) {
  Start();
  form_.Click(ControlId::Command5);
  form_.Click(ControlId::Command1);
  EXPECT_FALSE(form_.Enabled(ControlId::Command1));
  EXPECT_TRUE(desktop_.messages().empty());

  AnswerYes();
  AnswerYes();

  EXPECT_TRUE(form_.Enabled(ControlId::Command1));
  EXPECT_TRUE(form_.Enabled(ControlId::Command2));
  EXPECT_TRUE(form_.ShownMessages().empty());
}

TEST_F(MainWindow, YesNamesTheViewsOwnArrangingThatIsStillOnAndEnablesTheButtonsAnyway) {
  Start();
  desktop_.SetStyles(list_, list_view::kAutoArrangeStyle, list_view::kSnapToGridStyle);
  AnswerYes();
  desktop_.SetStyles(list_, 0, list_view::kSnapToGridStyle);
  AnswerYes();

  ASSERT_EQ(form_.ShownMessages().size(), 2U);
  const std::string& both = form_.ShownMessages()[0];
  const std::string& grid = form_.ShownMessages()[1];
  EXPECT_NE(both.find("表示 → 「アイコンの自動整列」「アイコンを等間隔に整列」"), std::string::npos) << both;
  EXPECT_EQ(grid.find("アイコンの自動整列"), std::string::npos) << grid;
  EXPECT_NE(grid.find("「アイコンを等間隔に整列」"), std::string::npos) << grid;
  EXPECT_TRUE(form_.Enabled(ControlId::Command1));
  EXPECT_TRUE(form_.Enabled(ControlId::Command2));
}

TEST_F(MainWindow, ThirteenItemsDrawTheHeartAtOnce) {
  own_icons_ = 13;
  Start();
  AnswerYes();

  form_.Click(ControlId::Command1);

  EXPECT_EQ(SentBesidesReads(), CountThenHeart());
  EXPECT_TRUE(Files().empty());
  EXPECT_FALSE(form_.Enabled(ControlId::Timer1));
}

TEST_F(MainWindow, TwelveItemsWriteTwoIconsAndTheNextTickDrawsTheHeart) {
  own_icons_ = 12;
  Start();
  AnswerYes();

  form_.Click(ControlId::Command1);

  EXPECT_EQ(Files(), (std::vector<std::string>{"Plim1.ico", "Plim2.ico"}));
  EXPECT_EQ(scratch_.ReadFile("Plim2.ico"), Heart());
  EXPECT_EQ(files_.Announced(), (Announcements{{FileChange::Created, scratch_.Windows("Plim1.ico")},
                                               {FileChange::Created, scratch_.Windows("Plim2.ico")}}));
  EXPECT_TRUE(form_.Enabled(ControlId::Timer1));
  EXPECT_EQ(form1_.intIcon, 2);

  form_.AdvanceTime(kTick);  // the shell has not shown them yet
  EXPECT_TRUE(form_.Enabled(ControlId::Timer1));

  ShellCatchesUp();
  desktop_.ClearMessages();
  form_.AdvanceTime(kTick);

  EXPECT_EQ(SentBesidesReads(), CountThenHeart());
  EXPECT_FALSE(form_.Enabled(ControlId::Timer1));
  // The click's check lets the shell's folder view be told the heart, with its fourteen items.
  ASSERT_EQ(desktop_.FolderViewPositioned().size(), 1U);
  EXPECT_EQ(desktop_.FolderViewPositioned()[0].size(), 14U);
}

TEST_F(MainWindow, AHeartFromFiveItemsWaitsUntilMoreThanTwelveAreShown) {
  Start();
  AnswerYes();

  form_.Click(ControlId::Command1);

  std::vector<std::string> nine;
  for (int n = 1; n <= 9; ++n) {
    nine.push_back("Plim" + std::to_string(n) + ".ico");
  }
  std::sort(nine.begin(), nine.end());
  EXPECT_EQ(Files(), nine);
  for (const auto& name : nine) {
    EXPECT_EQ(scratch_.ReadFile(name), Heart()) << name;
  }

  shown_files_ = 7;  // twelve items: the tick waits
  desktop_.ClearMessages();
  form_.AdvanceTime(kTick);
  EXPECT_EQ(SentBesidesReads(), std::vector<SentMessage>{CountMessage(list_)});
  EXPECT_TRUE(form_.Enabled(ControlId::Timer1));

  shown_files_ = 8;  // thirteen: the heart, with its last point still empty
  desktop_.ClearMessages();
  form_.AdvanceTime(kTick);
  EXPECT_EQ(SentBesidesReads().size(), 1U + 2U + 14U);
  EXPECT_FALSE(form_.Enabled(ControlId::Timer1));

  desktop_.ClearMessages();
  form_.AdvanceTime(10 * kTick);
  EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(MainWindow, AParallelogramWhileTheTimerWaitsRemovesTheIconsAndTheTimerStaysArmed) {
  Start();
  AnswerYes();
  form_.Click(ControlId::Command1);
  desktop_.ClearMessages();

  form_.Click(ControlId::Command2);

  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(SentBesidesReads(),
            CountThenMoves(list_, {{0, 30, 15}, {1, 50, 75}, {2, 70, 135}, {3, 90, 195}, {4, 110, 255}}));
  EXPECT_TRUE(form_.Enabled(ControlId::Timer1));

  own_icons_ = 20;  // the user adds icons: the next tick draws the heart
  form_.AdvanceTime(kTick);
  EXPECT_FALSE(form_.Enabled(ControlId::Timer1));
  EXPECT_EQ(desktop_.Positions(list_)[14], (ItemPosition{400, 30}));
}

TEST_F(MainWindow, TheSpinnerWritesTheColumnHeightIntoTheTextBox) {
  Start();

  form_.Scroll(ScrollArrow::Down);
  EXPECT_EQ(form_.Text(ControlId::Text1), "9");
  EXPECT_EQ(form1_.Desktop().lngRows, 9);

  for (int i = 0; i < 12; ++i) {
    form_.Scroll(ScrollArrow::Up);
  }
  EXPECT_EQ(form_.Value(ControlId::VScroll1), 0);
  EXPECT_EQ(form_.Text(ControlId::Text1), "0");
  EXPECT_EQ(form1_.Desktop().lngRows, 0);
}

TEST_F(MainWindow, TypedColumnHeightsConvertAndTheRestKeepTheLastOne) {
  Start();
  form_.SelectAll();
  form_.Type("1");
  EXPECT_EQ(form1_.Desktop().lngRows, 1);
  form_.Type("2");
  EXPECT_EQ(form1_.Desktop().lngRows, 12);
  EXPECT_EQ(form_.Value(ControlId::VScroll1), 8);

  const std::vector<std::pair<std::string, std::int32_t>> cases{
      {"2.5", 2}, {"3.5", 4},  {" 7 ", 7},    {"-3", -3},        {"\xEF\xBC\x91\xEF\xBC\x95", 15},
      {"", 15},   {"abc", 15}, {"40000", 15}, {"-32768", -32768}};
  for (const auto& [text, rows] : cases) {
    form_.ReplaceText(text);
    EXPECT_EQ(form1_.Desktop().lngRows, rows) << '"' << text << '"';
  }
  EXPECT_TRUE(form_.UnhandledErrors().empty());

  form_.Scroll(ScrollArrow::Down);  // from the spinner's own value, 8
  EXPECT_EQ(form_.Text(ControlId::Text1), "9");
  EXPECT_EQ(form1_.Desktop().lngRows, 9);
}

TEST_F(MainWindow, ExitEndsAtOnceLeavingTheIconsAndNoMoreTicks) {
  Start();
  AnswerYes();
  form_.Click(ControlId::Command1);
  desktop_.ClearMessages();

  form_.Click(ControlId::Command3);

  EXPECT_TRUE(form_.ProgramHasEnded());
  EXPECT_EQ(form1_.objFolder, nullptr);
  ShellCatchesUp();
  form_.AdvanceTime(10 * kTick);
  EXPECT_TRUE(desktop_.messages().empty());
  EXPECT_EQ(Files().size(), 9U);
}

TEST_F(MainWindow, ClosingTheWindowReleasesTheFolderAndLeavesTheIcons) {
  Start();
  AnswerYes();
  form_.Click(ControlId::Command1);

  form_.Close();

  EXPECT_FALSE(form_.WindowIsOpen());
  EXPECT_TRUE(form_.ProgramHasEnded());
  EXPECT_EQ(form1_.objFolder, nullptr);
  EXPECT_EQ(Files().size(), 9U);
}

TEST_F(MainWindow, ADesktopFolderThatRefusesFilesStillArmsTheTimer) {
  Start();
  AnswerYes();
  files_.RefuseNewFilesIn(scratch_.path().string());
  form_.QueueClick(ControlId::Command1);
  form_.QueueScroll(ScrollArrow::Down);  // handled by the top-up's first pump

  form_.RunPending();

  EXPECT_TRUE(Files().empty());
  EXPECT_TRUE(form_.Enabled(ControlId::Timer1));
  EXPECT_EQ(form1_.intIcon, 9);
  EXPECT_EQ(form1_.Desktop().lngRows, 9);
}

TEST_F(MainWindow, ClosingTheWindowDuringATopUpStopsItsFilesAndItsTimer) {
  Start();
  AnswerYes();
  form_.QueueClick(ControlId::Command1);
  form_.QueueClose();  // handled by the top-up's first pump

  form_.RunPending();

  EXPECT_FALSE(form_.WindowIsOpen());
  EXPECT_EQ(Files(), std::vector<std::string>{"Plim1.ico"});
  EXPECT_FALSE(form_.Enabled(ControlId::Timer1));
}

TEST_F(MainWindow, AFolderNamedLikeAnIconIsLeftAloneAndTheOthersAreWritten) {
  std::filesystem::create_directory(scratch_.Host("Plim1.ico"));
  Start();
  AnswerYes();

  form_.Click(ControlId::Command1);

  EXPECT_TRUE(std::filesystem::is_directory(scratch_.Host("Plim1.ico")));
  EXPECT_EQ(Files().size(), 9U);
  EXPECT_EQ(scratch_.ReadFile("Plim9.ico"), Heart());
}

TEST_F(MainWindow, AUsersOwnPlimIconSurvivesTheTopUpAndEveryCleanup) {
  const std::vector<std::uint8_t> own{0, 0, 1, 0, 7, 7};
  scratch_.WriteFile("Plim3.ico", own);
  Start();
  AnswerYes();

  form_.Click(ControlId::Command1);
  EXPECT_EQ(scratch_.ReadFile("Plim3.ico"), own);
  form_.Click(ControlId::Command2);

  EXPECT_EQ(Files(), std::vector<std::string>{"Plim3.ico"});
  EXPECT_EQ(scratch_.ReadFile("Plim3.ico"), own);
}

TEST_F(MainWindow, AHiddenFileAtAnIconsPathIsNeverOverwritten) {
  const std::vector<std::uint8_t> own{9, 9, 9};
  scratch_.WriteFile("Plim2.ico", own);
  files_.Mark(scratch_.Windows("Plim2.ico"), FileAttribute::Hidden);
  Start();
  AnswerYes();

  form_.Click(ControlId::Command1);

  EXPECT_EQ(scratch_.ReadFile("Plim2.ico"), own);
  EXPECT_EQ(scratch_.ReadFile("Plim1.ico"), Heart());
}

TEST_F(MainWindow, AFullDiskLeavesNoBrokenIcon) {
  Start();
  AnswerYes();
  files_.FillDiskAfter(3000);  // room for one icon and part of the next

  form_.Click(ControlId::Command1);

  EXPECT_EQ(Files(), std::vector<std::string>{"Plim1.ico"});
  EXPECT_EQ(scratch_.ReadFile("Plim1.ico"), Heart());
  EXPECT_EQ(files_.Announced(), (Announcements{{FileChange::Created, scratch_.Windows("Plim1.ico")}}));
  EXPECT_TRUE(form_.Enabled(ControlId::Timer1));
}

TEST_F(MainWindow, AnIconThatCannotBeDeletedDoesNotHangTheCleanup) {
  scratch_.WriteFile("Plim1.ico", Heart());
  scratch_.WriteFile("Plim2.ico", Heart());
  files_.FailDeletionOf(scratch_.Windows("Plim1.ico"));

  Start();

  EXPECT_EQ(Files(), std::vector<std::string>{"Plim1.ico"});
  EXPECT_EQ(files_.Announced(), (Announcements{{FileChange::Deleted, scratch_.Windows("Plim2.ico")}}));
  AnswerYes();
  form_.Click(ControlId::Command2);
  EXPECT_EQ(Files(), std::vector<std::string>{"Plim1.ico"});
}

// Explorer restarting: heart files would land among the user's icons and
// the heart be drawn over them once the view is back, with nothing saved.
TEST_F(MainWindow, WithoutADesktopViewNeitherPictureWritesSavesOrWaits) {
  WiredProgram no_view(false);
  no_view.form_.Load(no_view.form1_);
  no_view.form_.Click(ControlId::Command4);

  no_view.form_.Click(ControlId::Command1);
  no_view.form_.Click(ControlId::Command2);
  no_view.form_.AdvanceTime(4 * kTick);

  ASSERT_EQ(no_view.form_.ShownMessages().size(), 2U);
  EXPECT_TRUE(no_view.form_.ShownMessages()[1].starts_with("デスクトップが応答していません。"));
  EXPECT_TRUE(std::filesystem::is_empty(no_view.scratch_.path()));
  EXPECT_FALSE(no_view.storage_.saved.has_value());
  EXPECT_FALSE(no_view.form_.Enabled(ControlId::Timer1));
}

TEST_F(MainWindow, ArrangementClicksWaitOutARunningTopUp) {
  Start();
  AnswerYes();
  form_.QueueClick(ControlId::Command1);
  form_.QueueClick(ControlId::Command2);
  form_.QueueClick(ControlId::Command1);
  form_.QueueScroll(ScrollArrow::Down);

  form_.RunPending();

  // The parallelogram did not remove the icons and no second top-up ran;
  // the spinner's change was handled inside the top-up.
  EXPECT_EQ(Files().size(), 9U);
  EXPECT_EQ(SentBesidesReads(), std::vector<SentMessage>{CountMessage(list_)});
  EXPECT_EQ(form1_.Desktop().lngRows, 9);
}

}  // namespace
}  // namespace corvella::testing
