// The tour: yes, the heart and the parallelogram on a Wine virtual desktop,
// then the heart on a desktop at 200 %, a screenshot of each stage, and the
// README's pictures: the heart beside Corvella's window, and the window
// alone with where each of its parts stands. Each step is told as it starts.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "scenario_steps.hpp"
#include "scenarios.hpp"

namespace corvella::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// At once, not when the tour ends: the run command shows it as it goes.
void Tell(const std::string& step) {
  std::printf("tour: %s\n", step.c_str());
  std::fflush(stdout);
}

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

void WritePart(std::ofstream& out, const std::string& kind, const RECT& part, const RECT& window,
               const std::string& text) {
  out << kind << '\t' << part.left - window.left << '\t' << part.top - window.top << '\t' << part.right - window.left
      << '\t' << part.bottom - window.top << '\t' << text << '\n';
}

// The window alone, and beside it window-parts.tsv: each control's class,
// its box in the picture's pixels and its text, one a line, and first the
// title bar's icon, which opens the system menu.
void SaveWindowPicture(const ScenarioRun& run, const CorvellaWindow& corvella) {
  if (run.paths.shots.empty()) return;
  RECT window{};
  ::GetWindowRect(corvella.window, &window);
  if (!SaveScreenshot(run.paths.shots + L"\\window.bmp", window)) {
    throw ScenarioFailed("cannot save the picture of the window");
  }
  std::ofstream out((run.paths.shots + L"\\window-parts.tsv").c_str(), std::ios::binary);
  POINT client{0, 0};
  ::ClientToScreen(corvella.window, &client);
  // The icon is a square as high as the title bar, inside the frame.
  const LONG frame = client.x - window.left;
  const RECT icon{window.left + frame, window.top + frame, client.x + (client.y - window.top - frame), client.y};
  WritePart(out, "SystemMenu", icon, window, "");
  for (HWND child : Children(corvella.window)) {
    RECT part{};
    ::GetWindowRect(child, &part);
    WritePart(out, ToUtf8(ClassOf(child)), part, window, ToUtf8(TextOf(child)));
  }
  if (!out) throw ScenarioFailed("cannot write the parts of the window");
}

}  // namespace

bool RunTour(const SuitePaths& paths) {
  ScenarioRun run(paths);
  // The tour runs on a Wine virtual desktop.
  RestPointerBeforeClicks(true);
  try {
    {
      Tell("1-start.png: the desktop stand-in with five items, and Corvella beside it");
      StandIn desktop(paths.standin, Arguments(5), paths.scratch);
      CorvellaWindow corvella(paths, desktop);
      Pause(milliseconds(500));
      run.Screenshot("1-start");
      Tell("2-yes.png, window.png: はい (yes)");
      AnswerYes(run, desktop, corvella);
      Pause(milliseconds(300));
      run.Screenshot("2-yes");
      SaveWindowPicture(run, corvella);
      Tell("3-heart.png, heart-readme.png: ハート型に配置 (heart), with nine Plim files");
      HeartFromFive(run, desktop, corvella);
      run.Screenshot("3-heart");
      SaveReadmePicture(run, corvella);
      Tell("4-parallelogram.png: 平行四辺形型に配置 (parallelogram)");
      desktop.ClearLog();
      ClickCentre(corvella.parallelogram);
      desktop.WaitFor([](const StandInReport& r) { return r.items.size() == 5 && PositionMessages(r) >= 5; },
                      "the parallelogram");
      Pause(milliseconds(300));
      run.Screenshot("4-parallelogram");
    }
    // The same heart on a desktop at 200 %, beside the classic one.
    Tell("5-heart-200.png: はい and the heart on a desktop at 200 %");
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
    Tell(failure);
  }
  return run.failures.empty();
}

}  // namespace corvella::e2e
