#include "restore/layout_keeper.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_desktop.hpp"
#include "memory_layout_storage.hpp"

namespace corvella::testing {
namespace {

constexpr SavedTime kFirstStart{2024, 5, 1, 9, 3, 7};
constexpr SavedTime kSecondStart{2024, 5, 2, 8, 0, 0};
constexpr std::uint32_t kGetItemTextW = 0x1073;
constexpr std::uint32_t kSetItemPosition32 = 0x1031;

// The desktop, its view's process and the storage, one set per case.
struct Scene {
  Scene() { desktop.SetClientSize(list, WindowSize{1920, 1080}); }

  void Show(const std::vector<ListItem>& items) { desktop.Items(list) = items; }
  [[nodiscard]] std::vector<ListItem> Shown() { return desktop.Items(list); }

  FakeDesktop desktop{ProcessBitness::Bits64};
  WindowHandle list = desktop.AddShellDesktop(0);
  MemoryLayoutStorage storage;
  LayoutKeeper keeper{storage, desktop, desktop.process()};
};

const std::vector<ListItem> kOwnLayout{{"a", 10, 20}, {"b", 30, 40}, {"a", 50, 60}};
const std::string kOwnLayoutText =
    "corvella-layout 2\t2024-05-01 09:03:07\t1920\t1080\t75\t75\t0\t0\n"
    "a\t1\t10\t20\n"
    "b\t1\t30\t40\n"
    "a\t2\t50\t60\n";

TEST(LayoutKeeper, KeepsTheFirstLayoutAcrossStartsUntilItIsRestored) {
  Scene scene;
  scene.Show(kOwnLayout);
  scene.desktop.Items(scene.list).push_back({"", 70, 80});  // no name to restore it by: left out
  EXPECT_EQ(scene.keeper.SaveUnlessPending(scene.list, kFirstStart), SaveOutcome::Saved);
  EXPECT_EQ(scene.storage.saved, kOwnLayoutText);

  scene.Show({{"a", 0, 0}, {"b", 1, 1}, {"a", 2, 2}});  // a heart from this run
  scene.keeper.RecordPicture(scene.list, kFirstStart);
  EXPECT_EQ(scene.keeper.SaveUnlessPending(scene.list, kSecondStart), SaveOutcome::KeptEarlier);
  EXPECT_EQ(scene.storage.saved, kOwnLayoutText);
  EXPECT_EQ(scene.keeper.Summary(), (SavedLayoutSummary{true, "2024-05-01 09:03:07"}));

  EXPECT_EQ(scene.keeper.Restore(scene.list, scene.keeper.ReadSaved()),
            (RestoreResult{RestoreOutcome::Restored, 3, 0}));
  EXPECT_EQ(scene.Shown(), kOwnLayout);
  EXPECT_EQ(scene.storage.saved, std::nullopt);
  EXPECT_EQ(scene.storage.backup, kOwnLayoutText);
  EXPECT_EQ(scene.keeper.Summary(), SavedLayoutSummary{});

  EXPECT_EQ(scene.keeper.SaveUnlessPending(scene.list, kSecondStart), SaveOutcome::Saved);
  EXPECT_NE(scene.storage.saved->find("2024-05-02 08:00:00"), std::string::npos);
}

TEST(LayoutKeeper, RestoresTheItemsStillThereAndLeavesNewOnesAlone) {
  Scene scene;
  scene.storage.saved = kOwnLayoutText;
  scene.Show({{"new", 7, 7}, {"a", 0, 0}, {"", 3, 3}, {"a", 1, 1}});  // "b" was deleted, or its name unreadable

  EXPECT_EQ(scene.keeper.Restore(scene.list, scene.keeper.ReadSaved()),
            (RestoreResult{RestoreOutcome::Restored, 2, 1}));
  EXPECT_EQ(scene.Shown(), (std::vector<ListItem>{{"new", 7, 7}, {"a", 10, 20}, {"", 3, 3}, {"a", 50, 60}}));
}

TEST(LayoutKeeper, AFailedRestoreLeavesTheFileAsItWasAndMovesNothingBeforeItCan) {
  struct Case {
    const char* what;
    std::function<void(Scene&)> setup;
    RestoreOutcome outcome;
    bool items_moved;
  };
  const std::string damaged = "corvella-layout 1\t2024-05-01 09:03:07\t1920\t1080\na\t1\t10\n";
  const Case cases[] = {
      {"nothing saved", [](Scene& s) { s.storage.saved.reset(); }, RestoreOutcome::NothingSaved, false},
      {"unreadable", [](Scene& s) { s.storage.fail_load = true; }, RestoreOutcome::Unreadable, false},
      {"damaged", [&](Scene& s) { s.storage.saved = damaged; }, RestoreOutcome::Damaged, false},
      {"no view", [](Scene& s) { s.list = 0; }, RestoreOutcome::NoDesktopView, false},
      {"read fails", [](Scene& s) { s.desktop.FailMessage(kGetItemTextW, 1); }, RestoreOutcome::ReadFailed, false},
      {"move fails", [](Scene& s) { s.desktop.FailMessage(kSetItemPosition32, 1); }, RestoreOutcome::MoveFailed, true},
      {"backup fails", [](Scene& s) { s.storage.fail_mark = true; }, RestoreOutcome::RestoredFileKept, true},
  };
  const std::vector<ListItem> heart{{"a", 0, 0}, {"b", 1, 1}, {"a", 2, 2}};
  for (const Case& c : cases) {
    Scene scene;
    const WindowHandle view = scene.list;
    scene.storage.saved = kOwnLayoutText;
    scene.Show(heart);
    c.setup(scene);
    const std::optional<std::string> saved_before = scene.storage.saved;

    EXPECT_EQ(scene.keeper.Restore(scene.list, scene.keeper.ReadSaved()).outcome, c.outcome) << c.what;
    EXPECT_EQ(scene.storage.saved, saved_before) << c.what;
    EXPECT_EQ(scene.storage.backup, std::nullopt) << c.what;
    EXPECT_EQ(scene.desktop.Items(view) != heart, c.items_moved) << c.what;
  }
}

TEST(LayoutKeeper, SavesNothingWhenItCannotReadTheViewOrTheFileThereAndNeverReplacesThatFile) {
  struct Case {
    const char* what;
    std::function<void(Scene&)> setup;
    SaveOutcome outcome;
  };
  const Case cases[] = {
      {"file unreadable", [](Scene& s) { s.storage.fail_load = true; }, SaveOutcome::Unreadable},
      {"no view", [](Scene& s) { s.list = 0; }, SaveOutcome::NoDesktopView},
      {"read fails", [](Scene& s) { s.desktop.FailMessage(kGetItemTextW, 2); }, SaveOutcome::ReadFailed},
      {"write fails", [](Scene& s) { s.storage.fail_save = true; }, SaveOutcome::WriteFailed},
      {"disk full",
       [](Scene& s) {
         s.storage.fail_save = true;
         s.storage.save_failure = RuntimeErrorKind::DiskFull;
       },
       SaveOutcome::DiskFull},
  };
  for (const Case& c : cases) {
    Scene scene;
    scene.Show(kOwnLayout);
    c.setup(scene);
    const std::optional<std::string> before = scene.storage.saved;
    EXPECT_EQ(scene.keeper.SaveUnlessPending(scene.list, kFirstStart), c.outcome) << c.what;
    EXPECT_EQ(scene.storage.saved, before) << c.what;
  }
}

TEST(LayoutKeeper, SummaryShowsAFileThatCannotBeReadWithoutATime) {
  Scene scene;
  scene.storage.saved = "corvella-layout 9\n";
  EXPECT_EQ(scene.keeper.Summary(), (SavedLayoutSummary{true, std::nullopt}));
  scene.storage.fail_load = true;
  EXPECT_EQ(scene.keeper.Summary(), (SavedLayoutSummary{true, std::nullopt}));
}

}  // namespace
}  // namespace corvella::testing
