// The arrangement scenarios: the stand-in's own record of positions, the
// heart over many items and over few, topped up with heart icon files, the
// parallelogram after it, the column height typed and from the spinner, a
// desktop under WorkerW, and Plim files that are the user's own.
#include "arrangement_scenarios.hpp"

#include <commctrl.h>
#include <windows.h>

#include <string>
#include <vector>

#include "scenario_steps.hpp"

namespace corvella::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

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
  const StandInReport report = AfterTheSave(desktop.WaitFor(
      [&](const StandInReport& r) {
        return PositionMessages(r) >= static_cast<std::size_t>(items) && PictureRecorded(r);
      },
      "the parallelogram with " + label));
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

// A picture on a stand-in started with `options`: the classic one, placed.
void ExpectPlacedPicture(ScenarioRun& run, const std::wstring& options, bool heart, int items,
                         const Placement& placement) {
  StandIn desktop(run.paths.standin, Arguments(items, options), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  ClickCentre(heart ? corvella.heart : corvella.parallelogram);
  StandInReport report =
      desktop.WaitFor([&](const StandInReport& r) { return PositionMessages(r) >= static_cast<std::size_t>(items); },
                      "the picture with " + ToUtf8(options));
  report = AfterTheSave(ExpectQuietAfterwards(run, desktop));
  run.Screenshot(heart ? "heart" : "parallelogram");
  // After the save the heart button counts before the heart counts for itself.
  const std::size_t first = heart ? 1 : 0;
  const auto picture = heart ? HeartPicture(items, 8, placement) : ParallelogramPicture(items, 8, placement);
  ExpectOneArrangement(run, report, first, items, picture);
  ExpectShownAt(run, report, picture, items);
}

}  // namespace

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

void HeartFromThirty(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(30), run.paths.scratch);
  CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  ClickCentre(corvella.heart);
  StandInReport report =
      desktop.WaitFor([](const StandInReport& r) { return PositionMessages(r) >= 30; }, "the heart from 30 items");
  report = AfterTheSave(ExpectQuietAfterwards(run, desktop));
  run.Screenshot("heart");

  // After the save the click counts the items, and the heart counts them
  // again itself.
  const std::vector<Point> picture = HeartPicture(30, 8);
  run.Expect(!report.log.empty() && IsCount(report.log.front(), 30), "the click should count thirty items");
  ExpectOneArrangement(run, report, 1, 30, picture);
  ExpectShownAt(run, report, picture, 30);
  run.Expect(picture[21] == Point{400, 450} && picture[22] == Point{460, 30}, "eight items to a column");
  run.Expect(FilesIn(run.desktop).empty(), "thirty items need no heart icon files");
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
  report = AfterTheSave(ExpectQuietAfterwards(run, desktop));
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
  report = AfterTheSave(ExpectQuietAfterwards(run, desktop));
  run.Expect(!report.log.empty() && IsCount(report.log.front(), 20), "the click should count twenty items");
  ExpectOneArrangement(run, report, 1, 20, HeartPicture(20, 8));
  ExpectShownAt(run, report, HeartPicture(20, 8), 20);
  run.Expect(FilesIn(run.desktop).empty(), "twenty items need no heart icon files");
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
  report = AfterTheSave(ExpectQuietAfterwards(run, desktop));
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

void HeartAt200Percent(ScenarioRun& run) { ExpectPlacedPicture(run, L"--icon-size 64 --spacing 150", true, 20, {2}); }

void ParallelogramAt150Percent(ScenarioRun& run) {
  ExpectPlacedPicture(run, L"--icon-size 48 --spacing 113", false, 10, {1.5});
}

void HeartFromTheMainScreensCorner(ScenarioRun& run) {
  ExpectPlacedPicture(run, L"--at -300 -200", true, 14, {1, {300, 200}});
}

}  // namespace corvella::e2e
