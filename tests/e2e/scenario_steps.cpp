// The steps and checks the scenario files share: the stand-in's command
// line, answering Corvella's question, the message box, the pictures worked
// out independently, what reached the view and the heart icon files.
#include "scenario_steps.hpp"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <sstream>

namespace corvella::e2e {
namespace {

using std::chrono::seconds;

// Each coordinate scaled to the nearest pixel, a half to the even one.
Point Placed(Point point, const Placement& placement) {
  return {static_cast<int>(std::nearbyint(point.x * placement.scale)) + placement.origin.x,
          static_cast<int>(std::nearbyint(point.y * placement.scale)) + placement.origin.y};
}

// Where the view shows a point: x from the low 16 bits of its packed form,
// y from the high 16 bits.
Point AsTheViewReadsIt(Point point) {
  const auto packed = static_cast<std::uint32_t>(Packed(point));
  return {static_cast<std::int16_t>(packed & 0xFFFFU), static_cast<std::int16_t>(packed >> 16)};
}

constexpr Point kHeartOutline[14] = {{200, 100}, {160, 80},  {120, 90},  {80, 120},  {80, 180},  {120, 220}, {160, 250},
                                     {200, 290}, {240, 250}, {280, 220}, {320, 180}, {320, 120}, {280, 90},  {240, 80}};

std::string Describe(const LoggedMessage& entry) {
  std::ostringstream text;
  text << (entry.message == kGetItemCount      ? "count"
           : entry.message == kSetItemPosition ? "position"
                                               : "message " + std::to_string(entry.message))
       << " wparam " << entry.wparam << " lparam " << entry.lparam << " answered " << entry.result;
  return text.str();
}

bool IsRead(const LoggedMessage& entry) {
  return entry.message == LVM_GETITEMTEXTW || entry.message == LVM_GETITEMPOSITION;
}

bool IsMove(const LoggedMessage& entry) { return entry.message == kSetItemPosition; }

}  // namespace

std::size_t PositionMessages(const StandInReport& report) {
  return static_cast<std::size_t>(std::count_if(report.log.begin(), report.log.end(), [](const LoggedMessage& entry) {
    return entry.message == kSetItemPosition;
  }));
}

StandInReport AfterTheSave(StandInReport report) {
  const auto first_move = std::find_if(report.log.begin(), report.log.end(), IsMove);
  const auto last_read = std::find_if(std::make_reverse_iterator(first_move), report.log.rend(), IsRead);
  auto after_read = last_read.base();
  if (after_read != report.log.begin() && after_read != report.log.end() && after_read->message == kGetItemCount) {
    ++after_read;
  }
  report.log.erase(report.log.begin(), after_read);
  const auto last_move = std::find_if(report.log.rbegin(), report.log.rend(), IsMove);
  if (last_move != report.log.rend()) report.log.erase(last_move.base(), report.log.end());
  return report;
}

bool PictureRecorded(const StandInReport& report) {
  const auto last_move = std::find_if(report.log.rbegin(), report.log.rend(), IsMove);
  if (last_move == report.log.rbegin()) return false;
  const LoggedMessage& count = *std::prev(last_move);
  const auto after_move = static_cast<std::size_t>(std::distance(report.log.rbegin(), last_move));
  return count.message == kGetItemCount && after_move >= 2 * static_cast<std::size_t>(count.result) + 2 &&
         report.log.back().message == kGetItemCount;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::wstring> HeartFileNames(int last) {
  std::vector<std::wstring> names;
  for (int n = 1; n <= last; ++n) {
    names.push_back(L"Plim" + std::to_wstring(n) + L".ico");
  }
  return names;
}

std::wstring Arguments(int items, const std::wstring& more) {
  return L"--items " + std::to_wstring(items) + (more.empty() ? L"" : L" " + more);
}

bool OnlyStyleQuestions(const StandInReport& report) {
  return std::all_of(report.log.begin(), report.log.end(),
                     [](const LoggedMessage& entry) { return entry.message == LVM_GETEXTENDEDLISTVIEWSTYLE; });
}

void AnswerYes(ScenarioRun& run, const StandIn& desktop, const CorvellaWindow& corvella) {
  const auto enabled = [&] { return ::IsWindowEnabled(corvella.heart) && ::IsWindowEnabled(corvella.parallelogram); };
  // On a busy display without a window manager a click now and then gets
  // lost on its way; one more on はい, which only enables the buttons, is
  // harmless where the first did arrive late.
  bool answered = false;
  for (int click = 0; click < 2 && !answered; ++click) {
    ClickCentre(corvella.yes);
    answered = WaitUntil(enabled, std::chrono::seconds(click == 0 ? 3 : 5));
  }
  run.Expect(answered, "yes should enable both arrangement buttons");
  run.Expect(OnlyStyleQuestions(desktop.Report()), "yes should ask the view no more than its extended style");
  desktop.ClearLog();
}

HWND MessageBoxOf(DWORD process_id) { return FindTopLevel(process_id, L"#32770", nullptr); }

// The box's text: its one static control with a text (the icon has none).
std::wstring MessageText(HWND box) {
  for (HWND child : Children(box)) {
    if (::lstrcmpiW(ClassOf(child).c_str(), L"Static") == 0 && !TextOf(child).empty()) {
      return TextOf(child);
    }
  }
  return {};
}

// Waits for the message box, reads its text and clicks its button.
std::wstring DismissMessageBox(const ChildProcess& process, const std::string& what, int button) {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = MessageBoxOf(process.Id())) != nullptr; }, std::chrono::seconds(10))) {
    throw ScenarioFailed("no message box showed " + what);
  }
  const std::wstring text = MessageText(box);
  // As at はい: a click that got lost on its way is given once more, to a
  // box that is still there.
  bool gone = false;
  for (int click = 0; click < 2 && !gone; ++click) {
    ClickCentre(::GetDlgItem(box, button));
    gone = WaitUntil([&] { return !::IsWindow(box); }, std::chrono::seconds(click == 0 ? 3 : 5));
  }
  if (!gone) {
    throw ScenarioFailed("the message box " + what + " did not go at its button");
  }
  return text;
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// ---------------------------------------------------------------------------
// What the pictures should look like, worked out here independently.

std::string Describe(const Point& point) {
  return "(" + std::to_string(point.x) + ", " + std::to_string(point.y) + ")";
}

std::int32_t Packed(Point point) { return static_cast<std::int32_t>(std::int64_t{point.y} * 65536 + point.x); }

std::vector<Point> HeartPicture(int items, int rows, const Placement& placement) {
  std::vector<Point> points;
  for (const Point& point : kHeartOutline) {
    points.push_back(Placed(point, placement));
  }
  for (int index = 14; index < items; ++index) {
    const int j = index - 14;
    points.push_back(Placed({j / rows * 60 + 400, j % rows * 60 + 30}, placement));
  }
  return points;
}

std::vector<Point> ParallelogramPicture(int items, int rows, const Placement& placement) {
  std::vector<Point> points;
  for (int index = 0; index < items; ++index) {
    points.push_back(Placed({index / rows * 80 + index % rows * 20 + 30, index % rows * 60 + 15}, placement));
  }
  return points;
}

// ---------------------------------------------------------------------------
// Checking what the stand-in saw.

bool IsCount(const LoggedMessage& entry, int answered) {
  return entry.message == kGetItemCount && entry.wparam == 0 && entry.lparam == 0 && entry.result == answered;
}

void ExpectOneArrangement(ScenarioRun& run, const StandInReport& report, std::size_t first, int items,
                          const std::vector<Point>& picture) {
  const std::size_t expected = 2 + picture.size();
  if (report.log.size() != first + expected) {
    run.Expect(false, "the view was sent " + std::to_string(report.log.size() - first) + " messages, not " +
                          std::to_string(expected));
  }
  if (report.log.size() <= first) {
    return;
  }
  run.Expect(IsCount(report.log[first], items), "the arrangement starts with a count answered " +
                                                    std::to_string(items) + ", not " + Describe(report.log[first]));
  const bool spacing = report.log.size() > first + 1 && report.log[first + 1].message == LVM_GETITEMSPACING &&
                       report.log[first + 1].wparam == FALSE && report.log[first + 1].lparam == 0;
  run.Expect(spacing, "the count should be followed by the question of the icon view's spacing");
  for (std::size_t i = 0; i < picture.size() && first + 2 + i < report.log.size(); ++i) {
    const LoggedMessage& entry = report.log[first + 2 + i];
    const bool holds_item = static_cast<int>(i) < items;
    const bool right = entry.message == kSetItemPosition && entry.wparam == i && entry.lparam == Packed(picture[i]) &&
                       entry.result == (holds_item ? 1 : 0);
    if (!right) {
      run.Expect(false, "message " + std::to_string(first + 2 + i) + " should place item " + std::to_string(i) +
                            " at " + Describe(picture[i]) + " but is " + Describe(entry));
      return;
    }
  }
}

// Item i of the view shows where the picture put it.
void ExpectShownAt(ScenarioRun& run, const StandInReport& report, const std::vector<Point>& picture, int items) {
  for (int i = 0; i < items && i < static_cast<int>(picture.size()); ++i) {
    if (i >= static_cast<int>(report.items.size())) {
      run.Expect(false, "the view lacks item " + std::to_string(i));
      return;
    }
    const Point shown{report.items[static_cast<std::size_t>(i)].x, report.items[static_cast<std::size_t>(i)].y};
    const Point wanted = AsTheViewReadsIt(picture[static_cast<std::size_t>(i)]);
    if (shown != wanted) {
      run.Expect(false, "item " + std::to_string(i) + " (" + report.items[static_cast<std::size_t>(i)].text +
                            ") shows at " + Describe(shown) + ", not " + Describe(wanted));
    }
  }
}

// After an arrangement and its record the log must stay as it is: no timer
// left running.
StandInReport ExpectQuietAfterwards(ScenarioRun& run, const StandIn& desktop) {
  const StandInReport done = desktop.WaitFor(
      [](const StandInReport& r) { return PositionMessages(r) == 0 || PictureRecorded(r); }, "the picture recorded");
  Pause(kQuietSpell);
  StandInReport later = desktop.Report();
  run.Expect(later.log.size() == done.log.size(), "the view was sent " +
                                                      std::to_string(later.log.size() - done.log.size()) +
                                                      " more messages after the arrangement");
  return later;
}

std::string HeartIconBytes(const ScenarioRun& run) {
  std::string bytes;
  if (!ReadBytes(run.paths.heart_icon, bytes)) {
    throw ScenarioFailed("cannot read the heart icon " + ToUtf8(run.paths.heart_icon));
  }
  return bytes;
}

void ExpectHeartFiles(ScenarioRun& run, const std::vector<std::wstring>& names) {
  const std::string heart = HeartIconBytes(run);
  for (const std::wstring& name : names) {
    std::string bytes;
    run.Expect(ReadBytes(run.desktop + L"\\" + name, bytes) && bytes == heart,
               ToUtf8(name) + " should hold the heart icon's " + std::to_string(heart.size()) + " bytes");
  }
}

// Five items: nine heart icon files top the desktop up to fourteen, and the
// timer draws the heart once the desktop shows them.
StandInReport HeartFromFive(ScenarioRun& run, const StandIn& desktop, const CorvellaWindow& corvella) {
  AnswerYes(run, desktop, corvella);
  ClickCentre(corvella.heart);
  const std::vector<std::wstring> nine = HeartFileNames(9);
  run.Expect(WaitUntil([&] { return Sorted(FilesIn(run.desktop)) == Sorted(nine); }, seconds(10)),
             "Plim1.ico to Plim9.ico should be written, and nothing else");
  ExpectHeartFiles(run, nine);

  StandInReport report = desktop.WaitFor([](const StandInReport& r) { return PositionMessages(r) >= 14; },
                                         "the heart after the top-up", seconds(15));
  report = AfterTheSave(ExpectQuietAfterwards(run, desktop));

  // The click counts five; every tick counts until the desktop shows the
  // files, and the tick that sees fourteen draws the heart (which counts
  // again for itself) and stops the timer.
  run.Expect(!report.log.empty() && IsCount(report.log.front(), 5), "the click should count five items");
  std::size_t ticks = 1;
  while (ticks < report.log.size() && IsCount(report.log[ticks], 5)) {
    ++ticks;
  }
  run.Expect(ticks < report.log.size() && IsCount(report.log[ticks], 14),
             "a tick should count the fourteen items the desktop shows");
  ExpectOneArrangement(run, report, ticks + 1, 14, HeartPicture(14, 8));
  ExpectShownAt(run, report, HeartPicture(14, 8), 14);
  for (int n = 1; n <= 9 && report.items.size() == 14; ++n) {
    run.Expect(report.items[static_cast<std::size_t>(4 + n)].text == "Plim" + std::to_string(n) + ".ico",
               "item " + std::to_string(4 + n) + " should be Plim" + std::to_string(n) + ".ico");
  }
  return report;
}

}  // namespace corvella::e2e
