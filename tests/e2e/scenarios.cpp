#include "scenarios.hpp"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <thread>
#include <utility>

#include "saved_layout_files.hpp"
#include "scenario_steps.hpp"
#include "system_menu.hpp"
#include "user_desktop_folder.hpp"

namespace corvella::e2e {

std::size_t PositionMessages(const StandInReport& report) {
  return static_cast<std::size_t>(std::count_if(report.log.begin(), report.log.end(), [](const LoggedMessage& entry) {
    return entry.message == kSetItemPosition;
  }));
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
  ClickCentre(corvella.yes);
  run.Expect(WaitUntil([&] { return ::IsWindowEnabled(corvella.heart) && ::IsWindowEnabled(corvella.parallelogram); },
                       std::chrono::seconds(5)),
             "yes should enable both arrangement buttons");
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
std::wstring DismissMessageBox(const ChildProcess& process, const std::string& what) {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = MessageBoxOf(process.Id())) != nullptr; }, std::chrono::seconds(10))) {
    throw ScenarioFailed("no message box showed " + what);
  }
  const std::wstring text = MessageText(box);
  ClickCentre(ChildOfClass(box, L"Button"));
  if (!WaitUntil([&] { return !::IsWindow(box); }, std::chrono::seconds(5))) {
    throw ScenarioFailed("the message box " + what + " did not go at its button");
  }
  return text;
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

const std::wstring kHeartCaption = L"ハート型に配置";
const std::wstring kParallelogramCaption = L"平行四辺形型に配置";
const std::wstring kExitCaption = L"終了";
const std::wstring kYesCaption = L"はい";
const std::wstring kNoCaption = L"いいえ";
const std::wstring kQuestion = L"アイコンの自動整列を解除しましたか。";

// Longer than two ticks of Corvella's 500 ms timer: time enough for a
// message that should not come.
constexpr milliseconds kQuietSpell(1200);

// ---------------------------------------------------------------------------
// What the pictures should look like, worked out here independently.

struct Point {
  int x;
  int y;
  bool operator==(const Point&) const = default;
};

std::string Describe(const Point& point) {
  return "(" + std::to_string(point.x) + ", " + std::to_string(point.y) + ")";
}

// A position travels as y * 65536 + x; the list view reads x from the low
// 16 bits and y from the high 16 bits, both signed, so a negative x
// borrows one from y.
std::int32_t Packed(Point point) { return static_cast<std::int32_t>(std::int64_t{point.y} * 65536 + point.x); }

Point AsTheViewReadsIt(Point point) {
  const auto packed = static_cast<std::uint32_t>(Packed(point));
  return {static_cast<std::int16_t>(packed & 0xFFFFU), static_cast<std::int16_t>(packed >> 16)};
}

constexpr Point kHeartOutline[14] = {{200, 100}, {160, 80},  {120, 90},  {80, 120},  {80, 180},  {120, 220}, {160, 250},
                                     {200, 290}, {240, 250}, {280, 220}, {320, 180}, {320, 120}, {280, 90},  {240, 80}};

// Bigger icons scale a picture; the work area's corner in the view starts it.
struct Placement {
  double scale = 1;
  Point origin{0, 0};
};

// Each coordinate scaled to the nearest pixel, a half to the even one.
Point Placed(Point point, const Placement& placement) {
  return {static_cast<int>(std::nearbyint(point.x * placement.scale)) + placement.origin.x,
          static_cast<int>(std::nearbyint(point.y * placement.scale)) + placement.origin.y};
}

// The heart for items 0 to 13, then columns of `rows` from x 400, y 30.
std::vector<Point> HeartPicture(int items, int rows, const Placement& placement = {}) {
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

// Slanted columns of `rows`: each item one row lower and 20 further right.
std::vector<Point> ParallelogramPicture(int items, int rows, const Placement& placement = {}) {
  std::vector<Point> points;
  for (int index = 0; index < items; ++index) {
    points.push_back(Placed({index / rows * 80 + index % rows * 20 + 30, index % rows * 60 + 15}, placement));
  }
  return points;
}

// ---------------------------------------------------------------------------
// Checking what the stand-in saw.

std::string Describe(const LoggedMessage& entry) {
  std::ostringstream text;
  text << (entry.message == kGetItemCount      ? "count"
           : entry.message == kSetItemPosition ? "position"
                                               : "message " + std::to_string(entry.message))
       << " wparam " << entry.wparam << " lparam " << entry.lparam << " answered " << entry.result;
  return text.str();
}

bool IsCount(const LoggedMessage& entry, int answered) {
  return entry.message == kGetItemCount && entry.wparam == 0 && entry.lparam == 0 && entry.result == answered;
}

// The log from `first` on must be one count answered `items`, the question
// of the icon view's spacing, then one position message per picture point,
// in item order, and nothing else.
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

// After an arrangement the log must stay as it is: no timer left running.
StandInReport ExpectQuietAfterwards(ScenarioRun& run, const StandIn& desktop, std::size_t messages) {
  Pause(kQuietSpell);
  StandInReport later = desktop.Report();
  run.Expect(later.log.size() == messages, "the view was sent " + std::to_string(later.log.size() - messages) +
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

// Replaces the column height the way a person does: click into the box,
// select its text, type over it (or delete it).
void TypeColumnHeight(ScenarioRun& run, const CorvellaWindow& corvella, const std::wstring& text) {
  ClickCentre(corvella.column_height);
  WaitUntil([&] { return FocusOf(corvella.window) == corvella.column_height; }, seconds(5));
  PressKey(VK_HOME);
  PressKeyWith(VK_SHIFT, VK_END);
  if (text.empty()) {
    PressKey(VK_DELETE);
  } else {
    TypeText(text);
  }
  run.Expect(WaitUntil([&] { return TextOf(corvella.column_height) == text; }, seconds(5)),
             "the column height box should show \"" + ToUtf8(text) + "\", not \"" +
                 ToUtf8(TextOf(corvella.column_height)) + "\"");
}

// Clicks the parallelogram button on a desktop of `items` items and checks
// the whole arrangement for the column height it should have used.
void ExpectParallelogram(ScenarioRun& run, const StandIn& desktop, const CorvellaWindow& corvella, int items, int rows,
                         const std::string& label) {
  desktop.ClearLog();
  ClickCentre(corvella.parallelogram);
  const StandInReport report =
      desktop.WaitFor([&](const StandInReport& r) { return PositionMessages(r) >= static_cast<std::size_t>(items); },
                      "the parallelogram with " + label);
  const std::size_t failures_before = run.failures.size();
  const std::vector<Point> picture = ParallelogramPicture(items, rows);
  ExpectOneArrangement(run, report, 0, items, picture);
  ExpectShownAt(run, report, picture, items);
  if (run.failures.size() != failures_before) {
    run.failures.push_back("  (with " + label + ")");
  }
}

// Clicks the scroll bar's upper or lower arrow.
void ClickArrow(const CorvellaWindow& corvella, bool lower) {
  RECT client{};
  ::GetClientRect(corvella.spinner, &client);
  const int x = client.right / 2;
  ClickAt(corvella.spinner, POINT{x, lower ? client.bottom - 3 : 2});
  Pause(milliseconds(150));
}

// ---------------------------------------------------------------------------
// The scenarios.

// The stand-in itself, driven by this driver as another process: it must
// record exactly what it is sent, place items as a list view does, and
// follow the desktop folder in batches.
void StandInFollowsFolderAndRecords(ScenarioRun& run) {
  WriteBytes(run.desktop + L"\\a.txt", "a");
  StandIn desktop(run.paths.standin, Arguments(1), run.paths.scratch);
  StandInReport report = desktop.Report();
  run.Expect(report.items.size() == 2 && report.items[1].text == "a.txt",
             "a placeholder and a.txt should be shown, not " + std::to_string(report.items.size()) + " items");
  run.Expect(report.log.empty(), "nothing should have been sent to the view yet");
  run.Expect((report.style & LVS_AUTOARRANGE) == 0 && (report.extended_style & LVS_EX_SNAPTOGRID) == 0,
             "the view should neither arrange its icons nor snap them to a grid unless asked");

  HWND progman = FindTopLevel(desktop.Process().Id(), L"Progman", nullptr);
  HWND list = ::FindWindowExW(::FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr), nullptr,
                              L"SysListView32", nullptr);
  run.Expect(list != nullptr, "Progman > SHELLDLL_DefView > SysListView32 should lead to the view");
  // The third message names an item the view does not hold.
  const std::vector<Point> moved = {{-20, 30}, {400, 30}, {460, 90}};
  ::SendMessageA(list, kGetItemCount, 0, 0);
  ::SendMessageA(list, LVM_GETITEMSPACING, FALSE, 0);
  for (std::size_t i = 0; i < moved.size(); ++i) {
    ::SendMessageA(list, kSetItemPosition, i, Packed(moved[i]));
  }
  report = desktop.Report();
  ExpectOneArrangement(run, report, 0, 2, moved);
  ExpectShownAt(run, report, moved, 2);
  run.Expect(report.items.size() == 2 && report.items[0].x == -20 && report.items[0].y == 29,
             "x -20 should borrow one from y");

  // New files appear together, in the order a person reads them.
  WriteBytes(run.desktop + L"\\Plim10.ico", HeartIconBytes(run));
  WriteBytes(run.desktop + L"\\c.txt", "c");
  WriteBytes(run.desktop + L"\\b.ico", HeartIconBytes(run));
  report = desktop.WaitFor(
      [&](const StandInReport& r) {
        run.Expect(r.items.size() == 2 || r.items.size() == 5,
                   "new files should be added in one batch, but the view showed " + std::to_string(r.items.size()));
        return r.items.size() == 5;
      },
      "three new files shown");
  run.Expect(report.items[2].text == "b.ico" && report.items[3].text == "c.txt" && report.items[4].text == "Plim10.ico",
             "new files should follow in name order");

  ::DeleteFileW((run.desktop + L"\\a.txt").c_str());
  report = desktop.WaitFor([](const StandInReport& r) { return r.items.size() == 4; }, "a.txt removed");
  run.Expect(report.items[1].text == "b.ico", "the items after a removed file should move up");
  desktop.ClearLog();
  run.Expect(desktop.Report().log.empty(), "a cleared log should be empty");
}

void StartUpAndQuestion(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(20), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  run.Screenshot("start");

  run.Expect(!::IsWindowEnabled(corvella.heart) && !::IsWindowEnabled(corvella.parallelogram),
             "both arrangement buttons should be disabled at start");
  run.Expect(::IsWindowEnabled(corvella.exit) && ::IsWindowEnabled(corvella.yes) && ::IsWindowEnabled(corvella.no),
             "exit, yes and no should be enabled at start");
  run.Expect(TextOf(corvella.column_height) == L"8", "the column height should read 8 at start");
  run.Expect(ScrollPositionOf(corvella.spinner) == 8, "the spinner should stand at 8 at start");
  run.Expect(FocusOf(corvella.window) == corvella.exit, "the exit button should hold the focus at start");
  for (const wchar_t* caption : {L"たて", L"列", kQuestion.c_str()}) {
    ChildWithCaption(corvella.window, caption);
  }

  // Tab walks the controls that can take the focus, in their order.
  const HWND order[] = {corvella.column_height, corvella.spinner, corvella.yes, corvella.no, corvella.exit};
  const char* names[] = {"the column height box", "the spinner", "yes", "no", "exit"};
  for (std::size_t i = 0; i < std::size(order); ++i) {
    PressKey(VK_TAB);
    run.Expect(WaitUntil([&] { return FocusOf(corvella.window) == order[i]; }, seconds(3)),
               std::string("Tab should move the focus to ") + names[i]);
  }

  ClickCentre(corvella.no);
  Pause(milliseconds(500));
  run.Expect(!::IsWindowEnabled(corvella.heart) && !::IsWindowEnabled(corvella.parallelogram),
             "no should leave the arrangement buttons disabled");
  ClickCentre(corvella.heart);
  Pause(milliseconds(500));
  run.Expect(desktop.Report().log.empty(), "a disabled heart button should do nothing");

  AnswerYes(run, desktop, corvella);
  ClickCentre(corvella.yes);
  Pause(milliseconds(300));
  run.Expect(::IsWindowEnabled(corvella.heart) && ::IsWindowEnabled(corvella.parallelogram),
             "a second yes should leave both buttons enabled");
  PressKey(VK_TAB);
  PressKey(VK_TAB);
  run.Expect(WaitUntil([&] { return FocusOf(corvella.window) == corvella.heart; }, seconds(3)),
             "once enabled, the heart button should follow no in the Tab order");
  run.Screenshot("answered");

  run.Expect(OnlyStyleQuestions(desktop.Report()),
             "the question alone should ask the view no more than its extended style");
  run.Expect(FilesIn(run.desktop).empty(), "starting should write nothing to the desktop folder");
}

void HeartFromThirty(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(30), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  ClickCentre(corvella.heart);
  StandInReport report =
      desktop.WaitFor([](const StandInReport& r) { return PositionMessages(r) >= 30; }, "the heart from 30 items");
  report = ExpectQuietAfterwards(run, desktop, report.log.size());
  run.Screenshot("heart");

  // The click counts the items, and the heart counts them again itself.
  const std::vector<Point> picture = HeartPicture(30, 8);
  run.Expect(!report.log.empty() && IsCount(report.log.front(), 30), "the click should count thirty items");
  ExpectOneArrangement(run, report, 1, 30, picture);
  ExpectShownAt(run, report, picture, 30);
  run.Expect(picture[21] == Point{400, 450} && picture[22] == Point{460, 30}, "eight items to a column");
  run.Expect(FilesIn(run.desktop).empty(), "thirty items need no heart icon files");
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
  report = ExpectQuietAfterwards(run, desktop, report.log.size());

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

void HeartFromFiveItems(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(5), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  HeartFromFive(run, desktop, corvella);
  run.Screenshot("heart");
}

void ParallelogramAfterHeart(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(5), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  HeartFromFive(run, desktop, corvella);

  desktop.ClearLog();
  ClickCentre(corvella.parallelogram);
  run.Expect(WaitUntil([&] { return FilesIn(run.desktop).empty(); }, seconds(10)),
             "the heart icon files should be gone before the parallelogram");
  StandInReport report = desktop.WaitFor([](const StandInReport& r) { return r.items.size() == 5 && !r.log.empty(); },
                                         "the parallelogram over five");
  report = ExpectQuietAfterwards(run, desktop, report.log.size());
  run.Screenshot("parallelogram");

  // The desktop may or may not have dropped the deleted files' items when
  // Corvella counted; either way every item it counted gets its place.
  const int counted = report.log.front().result;
  run.Expect(counted == 14 || counted == 5,
             "the parallelogram should count 14 or 5 items, not " + std::to_string(counted));
  ExpectOneArrangement(run, report, 0, counted, ParallelogramPicture(counted, 8));
  ExpectShownAt(run, report, ParallelogramPicture(5, 8), 5);
}

void ColumnHeightsTyped(ScenarioRun& run) {
  constexpr int kItems = 10;
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);

  TypeColumnHeight(run, corvella, L"3");
  ExpectParallelogram(run, desktop, corvella, kItems, 3, "3 typed");
  TypeColumnHeight(run, corvella, L"-8");
  ExpectParallelogram(run, desktop, corvella, kItems, -8, "-8 typed");
  run.Screenshot("minus-eight");
  // A fraction goes to the nearest whole number, a half to the even one.
  TypeColumnHeight(run, corvella, L"2.5");
  ExpectParallelogram(run, desktop, corvella, kItems, 2, "2.5 typed");
  // Text that is no number leaves the last column height in force.
  TypeColumnHeight(run, corvella, L"");
  ExpectParallelogram(run, desktop, corvella, kItems, 2, "the text deleted");
  TypeColumnHeight(run, corvella, L"abc");
  ExpectParallelogram(run, desktop, corvella, kItems, 2, "abc typed");
  run.Expect(ScrollPositionOf(corvella.spinner) == 8, "typing should not move the spinner");
}

void ColumnHeightFromSpinner(ScenarioRun& run) {
  constexpr int kItems = 10;
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);

  ClickArrow(corvella, true);
  run.Expect(WaitUntil([&] { return TextOf(corvella.column_height) == L"9"; }, seconds(3)),
             "the lower arrow should raise the column height to 9");
  run.Expect(ScrollPositionOf(corvella.spinner) == 9, "the spinner should stand at 9");
  ExpectParallelogram(run, desktop, corvella, kItems, 9, "the spinner at 9");

  ClickArrow(corvella, false);
  ClickArrow(corvella, false);
  run.Expect(WaitUntil([&] { return TextOf(corvella.column_height) == L"7"; }, seconds(3)),
             "two clicks on the upper arrow should lower it to 7");
  ExpectParallelogram(run, desktop, corvella, kItems, 7, "the spinner at 7");

  // Typing does not move the spinner, so its next step starts from 7.
  TypeColumnHeight(run, corvella, L"12");
  ClickArrow(corvella, true);
  run.Expect(WaitUntil([&] { return TextOf(corvella.column_height) == L"8"; }, seconds(3)),
             "after typing 12, the lower arrow should step from 7 to 8");
  ExpectParallelogram(run, desktop, corvella, kItems, 8, "the spinner back at 8");
}

void WorkerWPlacement(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(20, L"--workerw"), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  ClickCentre(corvella.heart);
  StandInReport report = desktop.WaitFor([](const StandInReport& r) { return PositionMessages(r) >= 20; },
                                         "the heart on a desktop under WorkerW");
  report = ExpectQuietAfterwards(run, desktop, report.log.size());
  run.Expect(!report.log.empty() && IsCount(report.log.front(), 20), "the click should count twenty items");
  ExpectOneArrangement(run, report, 1, 20, HeartPicture(20, 8));
  ExpectShownAt(run, report, HeartPicture(20, 8), 20);
  run.Expect(FilesIn(run.desktop).empty(), "twenty items need no heart icon files");
}

// A picture on a stand-in started with `options`: the classic one, placed.
// Notes the spacing the view answered and where items 0, 7, 9 and 14 show.
void ExpectPlacedPicture(ScenarioRun& run, const std::wstring& options, bool heart, int items,
                         const Placement& placement) {
  StandIn desktop(run.paths.standin, Arguments(items, options), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  ClickCentre(heart ? corvella.heart : corvella.parallelogram);
  StandInReport report =
      desktop.WaitFor([&](const StandInReport& r) { return PositionMessages(r) >= static_cast<std::size_t>(items); },
                      "the picture with " + ToUtf8(options));
  report = ExpectQuietAfterwards(run, desktop, report.log.size());
  run.Screenshot(heart ? "heart" : "parallelogram");
  // The heart button counts before the heart counts for itself.
  const std::size_t first = heart ? 1 : 0;
  const auto picture = heart ? HeartPicture(items, 8, placement) : ParallelogramPicture(items, 8, placement);
  ExpectOneArrangement(run, report, first, items, picture);
  ExpectShownAt(run, report, picture, items);
  std::string seen = ToUtf8(options) + ": spacing answered " +
                     (report.log.size() > first + 1 ? std::to_string(report.log[first + 1].result & 0xFFFF) : "-");
  for (const std::size_t item : heart ? std::vector<std::size_t>{0, 7, 14} : std::vector<std::size_t>{9}) {
    if (item < report.items.size()) {
      seen += ", item " + std::to_string(item) + " at " + Describe(Point{report.items[item].x, report.items[item].y});
    }
  }
  run.notes.push_back(seen);
}

// Icons at 200 %: the heart and its grid twice the size.
void HeartAt200Percent(ScenarioRun& run) { ExpectPlacedPicture(run, L"--icon-size 64 --spacing 150", true, 20, {2}); }

void ParallelogramAt150Percent(ScenarioRun& run) {
  ExpectPlacedPicture(run, L"--icon-size 48 --spacing 113", false, 10, {1.5});
}

// The view starts on a screen left of and above the main one: the heart
// starts at the main screen's corner, (300, 200) in the view.
void HeartFromTheMainScreensCorner(ScenarioRun& run) {
  ExpectPlacedPicture(run, L"--at -300 -200", true, 14, {1, {300, 200}});
}

// A desktop that never shows the new files keeps the timer waiting.
void StartWaitingHeart(ScenarioRun& run, const StandIn& desktop, const CorvellaWindow& corvella) {
  AnswerYes(run, desktop, corvella);
  ClickCentre(corvella.heart);
  run.Expect(WaitUntil([&] { return Sorted(FilesIn(run.desktop)) == Sorted(HeartFileNames(9)); }, seconds(10)),
             "Plim1.ico to Plim9.ico should be written");
  desktop.WaitFor([](const StandInReport& r) { return r.log.size() >= 3; }, "two ticks of the timer");
}

void ExpectEndedWithFilesKept(ScenarioRun& run, const StandIn& desktop, const CorvellaWindow& corvella,
                              const std::string& how) {
  run.Expect(corvella.Process().WaitForExit(5000), "Corvella should end at once after " + how);
  const StandInReport report = desktop.Report();
  const bool only_counts =
      std::all_of(report.log.begin(), report.log.end(), [](const LoggedMessage& entry) { return IsCount(entry, 5); });
  run.Expect(only_counts, "a waiting timer should only count, and count five");
  ExpectQuietAfterwards(run, desktop, report.log.size());
  run.Expect(Sorted(FilesIn(run.desktop)) == Sorted(HeartFileNames(9)),
             "the heart icon files should stay after " + how);
  ExpectHeartFiles(run, HeartFileNames(9));
}

void ExitWithTimerArmed(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(5, L"--frozen"), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  StartWaitingHeart(run, desktop, corvella);
  ClickCentre(corvella.exit);
  ExpectEndedWithFilesKept(run, desktop, corvella, "the exit button");
}

void CloseTheWindow(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(5, L"--frozen"), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  StartWaitingHeart(run, desktop, corvella);
  PressKeyWith(VK_MENU, VK_F4);
  ExpectEndedWithFilesKept(run, desktop, corvella, "Alt+F4");
}

// Files named like heart icon files but not written by Corvella are the
// user's: the top-up skips their names and no cleanup deletes them.
void UsersOwnPlimSurvives(ScenarioRun& run) {
  const std::string heart = HeartIconBytes(run);
  std::string own = heart;
  own[own.size() / 2] = static_cast<char>(own[own.size() / 2] ^ 0x55);
  WriteBytes(run.desktop + L"\\Plim1.ico", own);
  WriteBytes(run.desktop + L"\\Plim3.ico", heart);  // left over from an earlier heart
  WriteBytes(run.desktop + L"\\Plim1.bmp", "not an icon");

  StandIn desktop(run.paths.standin, Arguments(3), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  run.Expect(WaitUntil(
                 [&] {
                   return Sorted(FilesIn(run.desktop)) == Sorted({L"Plim1.bmp", L"Plim1.ico"});
                 },
                 seconds(10)),
             "starting should delete the left-over Plim3.ico and keep the user's files");
  desktop.WaitFor([](const StandInReport& r) { return r.items.size() == 5; }, "the desktop without Plim3.ico");

  // Five items: Plim1.ico to Plim9.ico are due, but Plim1.ico is the user's.
  AnswerYes(run, desktop, corvella);
  ClickCentre(corvella.heart);
  StandInReport report = desktop.WaitFor([](const StandInReport& r) { return PositionMessages(r) >= 14; },
                                         "the heart from thirteen items", seconds(15));
  report = ExpectQuietAfterwards(run, desktop, report.log.size());
  std::string bytes;
  run.Expect(ReadBytes(run.desktop + L"\\Plim1.ico", bytes) && bytes == own,
             "the user's Plim1.ico should be unchanged");
  std::vector<std::wstring> written = HeartFileNames(9);
  written.erase(written.begin());
  ExpectHeartFiles(run, written);
  // Thirteen items: the fourteenth point's message finds no item.
  std::size_t first = 1;
  while (first < report.log.size() && IsCount(report.log[first], 5)) {
    ++first;
  }
  ExpectOneArrangement(run, report, first + 1, 13, HeartPicture(14, 8));

  desktop.ClearLog();
  ClickCentre(corvella.parallelogram);
  run.Expect(WaitUntil(
                 [&] {
                   return Sorted(FilesIn(run.desktop)) == Sorted({L"Plim1.bmp", L"Plim1.ico"});
                 },
                 seconds(10)),
             "the parallelogram should delete Corvella's files and only those");
  run.Expect(ReadBytes(run.desktop + L"\\Plim1.ico", bytes) && bytes == own,
             "the user's Plim1.ico should survive the parallelogram");
}

// A desktop that stops answering must not hold Corvella's window: asked to
// close while the desktop hangs, Corvella ends long before it answers again.
void HungShellClose(ScenarioRun& run) {
  constexpr milliseconds kHang(12000);
  // Wine without a window manager already takes about two seconds to take
  // a closed window away, and the message under way may take its time-out.
  constexpr milliseconds kPromptly(6000);
  StandIn desktop(run.paths.standin, Arguments(5), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);

  desktop.Hang(kHang);
  ClickCentre(corvella.heart);
  // Time for the click to reach Corvella and its first message the view.
  Pause(milliseconds(500));
  const auto close_requested = std::chrono::steady_clock::now();
  ::PostMessageW(corvella.window, WM_CLOSE, 0, 0);
  // Waits past the hang, so that a Corvella held by it still gets measured.
  const bool ended = corvella.Process().WaitForExit(static_cast<DWORD>((kHang + kPromptly).count()));
  const auto took =
      std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - close_requested).count();
  run.notes.push_back((ended ? "Corvella ended " : "Corvella still ran ") + std::to_string(took) +
                      " ms after the close request, the desktop hanging for " + std::to_string(kHang.count()) + " ms");
  run.Expect(ended && took < kPromptly.count(),
             "Corvella should end within " + std::to_string(kPromptly.count()) + " ms of the close request");
}

// Huge files named like heart icon files are the user's: Corvella starts,
// leaves them as they are and tops the desktop up around them. 1.5 GB is
// more than a 32-bit process can take in at once; the low 32 bits of 5 GB
// read as 1 GB.
void HugePlimFiles(ScenarioRun& run) {
  constexpr std::uint64_t kGigabyte = std::uint64_t{1} << 30;
  const std::vector<std::pair<std::wstring, std::uint64_t>> huge = {{L"Plim8.ico", kGigabyte * 3 / 2},
                                                                    {L"Plim9.ico", kGigabyte * 5}};
  for (const auto& [name, size] : huge) {
    WriteSparseFile(run.desktop + L"\\" + name, size);
  }
  StandIn desktop(run.paths.standin, Arguments(5), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  ClickCentre(corvella.heart);

  // Seven items: Plim1.ico to Plim7.ico are due.
  const std::vector<std::wstring> written = HeartFileNames(7);
  run.Expect(WaitUntil([&] { return Sorted(FilesIn(run.desktop)) == Sorted(HeartFileNames(9)); }, seconds(10)),
             "Plim1.ico to Plim7.ico should be written beside the huge Plim8.ico and Plim9.ico");
  ExpectHeartFiles(run, written);
  desktop.WaitFor([](const StandInReport& r) { return PositionMessages(r) >= 14; },
                  "the heart from seven items and seven heart icon files", seconds(15));
  for (const auto& [name, size] : huge) {
    run.Expect(FileSize(run.desktop + L"\\" + name) == size, "the huge " + ToUtf8(name) + " should keep its size");
  }
}

// A second Corvella started while the first waits for the desktop to show
// its heart icon files hands over to the first one and ends; the files stay
// and the first one's heart comes when the desktop shows them.
void SecondInstanceDuringTopUp(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(5, L"--frozen"), run.paths.scratch);
  CorvellaWindow first(run.paths, desktop);
  StartWaitingHeart(run, desktop, first);
  // Something else in front, so that bringing the first window forward shows.
  ::SetForegroundWindow(FindTopLevel(desktop.Process().Id(), L"Progman", nullptr));

  ChildProcess second(run.paths.corvella, L"");
  run.Expect(second.WaitForExit(10000) && second.ExitCode() == 0,
             "a second Corvella should end with code 0, not " + std::to_string(second.ExitCode()));
  run.Expect(WaitUntil([&] { return ::GetForegroundWindow() == first.window; }, seconds(3)),
             "the second Corvella should bring the first one's window to the front");
  run.Expect(first.Process().Running(), "the first Corvella should still run");
  run.Expect(Sorted(FilesIn(run.desktop)) == Sorted(HeartFileNames(9)),
             "the second Corvella should leave the first one's heart icon files");
  ExpectHeartFiles(run, HeartFileNames(9));

  desktop.FollowFolder();
  const StandInReport report = desktop.WaitFor([](const StandInReport& r) { return PositionMessages(r) >= 14; },
                                               "the first Corvella's heart", seconds(15));
  ExpectShownAt(run, report, HeartPicture(14, 8), 14);
}

// The desktop folder where the registry says, under a Japanese name: the
// heart icon files go there and the parallelogram takes them away again.
void JapaneseDesktopFolder(ScenarioRun& run) {
  const std::wstring usual = run.desktop;
  {
    UserDesktopFolder japanese(L"%USERPROFILE%\\デスクトップ");
    run.desktop = DesktopFolder();
    const std::wstring name = L"\\デスクトップ";
    if (run.desktop.size() < name.size() ||
        run.desktop.compare(run.desktop.size() - name.size(), name.size(), name) != 0) {
      throw ScenarioFailed("the shell reports the desktop folder " + ToUtf8(run.desktop) + ", not the one set");
    }
    EmptyFolder(run.desktop);
    ParallelogramAfterHeart(run);
    run.Expect(FilesIn(usual).empty(), "nothing should be written to the usual desktop folder");
  }
  run.Expect(DesktopFolder() == usual, "the usual desktop folder should be back for the next scenario");
}

// The stand-in's options for a view that arranges its icons by itself and
// snaps them to a grid.
void StandInViewStyles(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(3, L"--autoarrange --snaptogrid"), run.paths.scratch);
  const StandInReport report = desktop.Report();
  run.Expect((report.style & LVS_AUTOARRANGE) != 0, "--autoarrange should give the view LVS_AUTOARRANGE");
  run.Expect((report.extended_style & LVS_EX_SNAPTOGRID) != 0, "--snaptogrid should give the view LVS_EX_SNAPTOGRID");
}

// A view that arranges its icons by itself, or snaps them to the grid, would
// undo every picture: yes names what to switch off, then enables the buttons
// as always. Wine does not enforce the styles, so the message is checked.
void YesNamesTheViewsOwnArranging(ScenarioRun& run) {
  struct Case {
    const wchar_t* option;
    bool auto_arrange;
    bool snap_to_grid;
  };
  for (const Case& view : {Case{L"--autoarrange", true, false}, Case{L"--snaptogrid", false, true}}) {
    StandIn desktop(run.paths.standin, Arguments(3, view.option), run.paths.scratch);
    CorvellaWindow corvella(run.paths, desktop);
    ClickCentre(corvella.yes);
    const std::wstring text = DismissMessageBox(corvella.Process(), "at yes");
    const std::string option = ToUtf8(view.option);
    run.Expect(Contains(text, L"デスクトップを右クリック → 表示 → "),
               "with " + option + " yes should say where to look");
    run.Expect(Contains(text, L"アイコンの自動整列") == view.auto_arrange,
               "with " + option + " yes should name auto-arrange exactly when it is on");
    run.Expect(Contains(text, L"アイコンを等間隔に整列") == view.snap_to_grid,
               "with " + option + " yes should name the grid exactly when it is on");
    run.Expect(WaitUntil([&] { return ::IsWindowEnabled(corvella.heart) && ::IsWindowEnabled(corvella.parallelogram); },
                         seconds(5)),
               "with " + option + " yes should still enable both arrangement buttons");
  }
  StandIn plain(run.paths.standin, Arguments(3), run.paths.scratch);
  CorvellaWindow corvella(run.paths, plain);
  AnswerYes(run, plain, corvella);
  std::this_thread::sleep_for(kQuietSpell);
  run.Expect(MessageBoxOf(corvella.Process().Id()) == nullptr, "a view that leaves its icons alone gets no message");
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

}  // namespace

CorvellaWindow::CorvellaWindow(const SuitePaths& paths, const StandIn& desktop, std::vector<LoggedMessage>* save_log) {
  // A layout saved before and never restored is kept, and the start then
  // saves none.
  const bool layout_kept = FileExists(SavedLayoutPath());
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
  if (!layout_kept && !FileExists(SavedLayoutPath())) {
    throw ScenarioFailed("Corvella saved no layout at start");
  }
  if (save_log != nullptr) {
    *save_log = desktop.Report().log;
  }
  desktop.ClearLog();
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
