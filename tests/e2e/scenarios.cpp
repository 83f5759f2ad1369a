// The runner: Corvella's window as a scenario finds it, one scenario's run
// and its outcome, and the list of every scenario in the order they run.
#include "scenarios.hpp"

#include <cstdio>
#include <memory>

#include "arrangement_scenarios.hpp"
#include "saved_layout_files.hpp"
#include "system_menu.hpp"
#include "window_scenarios.hpp"

namespace corvella::e2e {
namespace {

using std::chrono::seconds;

const std::wstring kHeartCaption = L"ハート型に配置";
const std::wstring kParallelogramCaption = L"平行四辺形型に配置";
const std::wstring kExitCaption = L"終了";
const std::wstring kYesCaption = L"はい";
const std::wstring kNoCaption = L"いいえ";

}  // namespace

CorvellaWindow::CorvellaWindow(const SuitePaths& paths, const StandIn& desktop) {
  const bool layout_pending = FileExists(SavedLayoutPath());
  desktop.ClearLog();
  process_ = std::make_unique<ChildProcess>(paths.corvella, L"");
  if (!WaitUntil(
          [&] {
            window = FindTopLevel(process_->Id(), nullptr, L"Corvella");
            return window != nullptr || !process_->Running();
          },
          seconds(20)) ||
      window == nullptr) {
    throw ScenarioFailed(process_->Running() ? "Corvella's window did not show"
                                             : "Corvella ended with code " + std::to_string(process_->ExitCode()) +
                                                   " before its window showed");
  }
  heart = ChildWithCaption(window, kHeartCaption);
  parallelogram = ChildWithCaption(window, kParallelogramCaption);
  exit = ChildWithCaption(window, kExitCaption);
  yes = ChildWithCaption(window, kYesCaption);
  no = ChildWithCaption(window, kNoCaption);
  column_height = ChildOfClass(window, L"Edit");
  spinner = ChildOfClass(window, L"ScrollBar");

  constexpr seconds kStartTakes(60);
  const bool started = WaitUntil(
      [&] {
        return !process_->Running() ||
               ReadSystemMenuItem(window, kRestoreCommand, paths.menu_probe, kStartTakes).present;
      },
      kStartTakes);
  if (!started || !process_->Running()) {
    throw ScenarioFailed("Corvella's start did not put the way back into its system menu");
  }
  // The layout is saved when an arrangement is about to move the desktop.
  if (!layout_pending && FileExists(SavedLayoutPath())) {
    throw ScenarioFailed("Corvella saved a layout at start");
  }
  if (!desktop.Report().log.empty()) {
    throw ScenarioFailed("Corvella's start should send the view nothing");
  }
}

ScenarioRun::ScenarioRun(const SuitePaths& suite_paths) : paths(suite_paths), desktop(DesktopFolder()) {
  EmptyFolder(desktop);
  RemoveSavedLayouts();
}

void ScenarioRun::Expect(bool holds, const std::string& what) {
  if (!holds) {
    if (failures.empty()) {
      Screenshot("first-failure");
    }
    failures.push_back(what);
  }
}

void ScenarioRun::Screenshot(const std::string& stage) const {
  if (!paths.shots.empty()) {
    SaveScreenshot(paths.shots + L"\\" + ToUtf16(stage) + L".bmp");
  }
}

const std::vector<Scenario>& AllScenarios() {
  static const std::vector<Scenario> scenarios = [] {
    std::vector<Scenario> all = {
        {"standin_follows_folder_and_records", StandInFollowsFolderAndRecords},
        {"startup_and_question", StartUpAndQuestion},
        {"heart_from_30_items", HeartFromThirty},
        {"heart_from_5_items", HeartFromFiveItems},
        {"parallelogram_after_heart", ParallelogramAfterHeart},
        {"column_heights_typed", ColumnHeightsTyped},
        {"column_height_from_spinner", ColumnHeightFromSpinner},
        {"workerw_placement", WorkerWPlacement},
        {"heart_at_200_percent", HeartAt200Percent},
        {"parallelogram_at_150_percent", ParallelogramAt150Percent},
        {"heart_from_the_main_screens_corner", HeartFromTheMainScreensCorner},
        {"exit_with_timer_armed", ExitWithTimerArmed},
        {"close_the_window", CloseTheWindow},
        {"users_own_plim_survives", UsersOwnPlimSurvives},
        {"standin_view_styles", StandInViewStyles},
        {"yes_names_the_views_own_arranging", YesNamesTheViewsOwnArranging},
        {"hung_shell_close", HungShellClose},
        {"huge_plim_file", HugePlimFiles},
        {"second_instance_during_topup", SecondInstanceDuringTopUp},
        {"japanese_desktop_folder", JapaneseDesktopFolder},
        {"long_desktop_folder_path", LongDesktopFolderPath},
    };
    const std::vector<Scenario> way_back = WayBackScenarios();
    all.insert(all.end(), way_back.begin(), way_back.end());
    return all;
  }();
  return scenarios;
}

bool RunScenario(const Scenario& scenario, const SuitePaths& paths) {
  std::vector<std::string> failures;
  std::vector<std::string> notes;
  try {
    ScenarioRun run(paths);
    try {
      scenario.run(run);
    } catch (const ScenarioFailed& failed) {
      run.failures.emplace_back(failed.what());
    }
    failures = run.failures;
    notes = run.notes;
  } catch (const ScenarioFailed& failed) {
    failures.emplace_back(failed.what());
  }
  std::printf("%s %s\n", failures.empty() ? "PASS" : "FAIL", scenario.name);
  for (const std::string& note : notes) {
    std::printf("    %s\n", note.c_str());
  }
  for (const std::string& failure : failures) {
    std::printf("    %s\n", failure.c_str());
  }
  std::fflush(stdout);
  return failures.empty();
}

}  // namespace corvella::e2e
