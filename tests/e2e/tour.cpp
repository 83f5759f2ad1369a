// The tour: yes, the heart and the parallelogram on a Wine virtual desktop,
// then the heart on a desktop at 200 %, a screenshot of each stage, and the
// README's picture of the heart beside Corvella's window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "scenario_steps.hpp"
#include "scenarios.hpp"

namespace corvella::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// The README's picture: the heart on the desktop and Corvella's window
// beside it, with a margin of desktop around both.
void SaveReadmePicture(const ScenarioRun& run, const CorvellaWindow& corvella) {
  // An item's point is the top left of its icon; the label below reaches
  // about this far right and down.
  constexpr int kItemReach = 48;
  constexpr int kMargin = 24;
  const std::vector<Point> heart = HeartPicture(14, 8);
  RECT area{heart.front().x, heart.front().y, heart.front().x, heart.front().y};
  for (const Point& point : heart) {
    area.left = std::min<LONG>(area.left, point.x);
    area.top = std::min<LONG>(area.top, point.y);
    area.right = std::max<LONG>(area.right, point.x + kItemReach);
    area.bottom = std::max<LONG>(area.bottom, point.y + kItemReach);
  }
  RECT window{};
  ::GetWindowRect(corvella.window, &window);
  ::UnionRect(&area, &area, &window);
  ::InflateRect(&area, kMargin, kMargin);
  if (!run.paths.shots.empty() && !SaveScreenshot(run.paths.shots + L"\\heart-readme.bmp", area)) {
    throw ScenarioFailed("cannot save the README's picture");
  }
}

}  // namespace

bool RunTour(const SuitePaths& paths) {
  ScenarioRun run(paths);
  // The tour runs on a Wine virtual desktop.
  RestPointerBeforeClicks(true);
  try {
    {
      StandIn desktop(paths.standin, Arguments(5), paths.scratch);
      CorvellaWindow corvella(paths, desktop);
      Pause(milliseconds(500));
      run.Screenshot("1-start");
      AnswerYes(run, desktop, corvella);
      run.Screenshot("2-yes");
      HeartFromFive(run, desktop, corvella);
      run.Screenshot("3-heart");
      SaveReadmePicture(run, corvella);
      desktop.ClearLog();
      ClickCentre(corvella.parallelogram);
      desktop.WaitFor([](const StandInReport& r) { return r.items.size() == 5 && PositionMessages(r) >= 5; },
                      "the parallelogram");
      Pause(milliseconds(300));
      run.Screenshot("4-parallelogram");
    }
    // The same heart on a desktop at 200 %, beside the classic one.
    StandIn desktop(paths.standin, Arguments(5, L"--icon-size 64 --spacing 150"), paths.scratch);
    CorvellaWindow corvella(paths, desktop);
    // Out of the bigger heart's way, in the screen's bottom-right corner.
    RECT frame{};
    ::GetWindowRect(corvella.window, &frame);
    ::SetWindowPos(corvella.window, nullptr, ::GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left) - 16,
                   ::GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top) - 16, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    AnswerYes(run, desktop, corvella);
    ClickCentre(corvella.heart);
    desktop.WaitFor([](const StandInReport& r) { return r.items.size() == 14 && PositionMessages(r) >= 14; },
                    "the heart at 200 %", seconds(15));
    Pause(milliseconds(300));
    run.Screenshot("5-heart-200");
  } catch (const ScenarioFailed& failed) {
    run.failures.emplace_back(failed.what());
  }
  for (const std::string& failure : run.failures) {
    std::printf("tour: %s\n", failure.c_str());
  }
  return run.failures.empty();
}

}  // namespace corvella::e2e
