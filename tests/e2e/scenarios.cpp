// The runner: one scenario's run and its outcome, and the list of every
// scenario in the order they run.
#include "scenarios.hpp"

#include <cstdio>

#include "arrangement_scenarios.hpp"
#include "saved_layout_files.hpp"
#include "window_scenarios.hpp"

namespace corvella::e2e {

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
