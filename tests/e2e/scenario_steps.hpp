// Steps and checks that the scenario files share: the stand-in's command
// line, answering Corvella's question, counting what reached the view.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scenarios.hpp"

namespace corvella::e2e {

// The stand-in's command line for `items` placeholder items.
std::wstring Arguments(int items, const std::wstring& more = L"");
// Clicks はい and expects both arrangement buttons to be enabled, and the
// view to have been asked no more than its extended style; clears the log.
void AnswerYes(ScenarioRun& run, const StandIn& desktop, const CorvellaWindow& corvella);
// Only questions of the view's extended style (whether it snaps its icons
// to a grid) are in the log.
bool OnlyStyleQuestions(const StandInReport& report);
std::size_t PositionMessages(const StandInReport& report);
// The log without the reads around an arrangement: the one at the click,
// which saves the desktop's layout or finds it still Corvella's picture (the
// view's spacing, a count, each item's name and place, then a count that
// tells no item came or went meanwhile), and the record of where the
// arrangement put the items (a count, names and places, a count).
StandInReport AfterTheSave(StandInReport report);
// The record of the last arrangement has been read whole, to its last count.
bool PictureRecorded(const StandInReport& report);
// The message box that the process shows, if any.
HWND MessageBoxOf(DWORD process_id);
// The box's text.
std::wstring MessageText(HWND box);
// Waits for the process's message box, reads its text and clicks its button
// (IDYES or IDNO for a question); `what` names the box in a failure.
std::wstring DismissMessageBox(const ChildProcess& process, const std::string& what, int button = IDOK);
bool Contains(const std::wstring& text, const std::wstring& part);
// Plim1.ico to Plim<last>.ico.
std::vector<std::wstring> HeartFileNames(int last);
std::vector<std::wstring> Sorted(std::vector<std::wstring> names);

// Longer than two ticks of Corvella's 500 ms timer: time enough for a
// message that should not come.
inline constexpr std::chrono::milliseconds kQuietSpell(1200);

// A point of the pictures the scenarios expect, worked out independently
// of Corvella.
struct Point {
  int x;
  int y;
  bool operator==(const Point&) const = default;
};
std::string Describe(const Point& point);
// A position travels as y * 65536 + x; the list view reads x from the low
// 16 bits and y from the high 16 bits, both signed, so a negative x
// borrows one from y.
std::int32_t Packed(Point point);
// Bigger icons scale a picture; the work area's corner in the view starts it.
struct Placement {
  double scale = 1;
  Point origin{0, 0};
};
// The heart for items 0 to 13, then columns of `rows` from x 400, y 30.
std::vector<Point> HeartPicture(int items, int rows, const Placement& placement = {});
// Slanted columns of `rows`: each item one row lower and 20 further right.
std::vector<Point> ParallelogramPicture(int items, int rows, const Placement& placement = {});

// Checking what the stand-in saw.
bool IsCount(const LoggedMessage& entry, int answered);
// The log from `first` on must be one count answered `items`, the question
// of the icon view's spacing, then one position message per picture point,
// in item order, and nothing else.
void ExpectOneArrangement(ScenarioRun& run, const StandInReport& report, std::size_t first, int items,
                          const std::vector<Point>& picture);
// Item i of the view shows where the picture put it.
void ExpectShownAt(ScenarioRun& run, const StandInReport& report, const std::vector<Point>& picture, int items);
// Waits for the record of the arrangement, if there was one; then the log
// must stay as it is: no timer left running.
StandInReport ExpectQuietAfterwards(ScenarioRun& run, const StandIn& desktop);
// The bytes of the icon file Corvella carries as its HEART resource.
std::string HeartIconBytes(const ScenarioRun& run);
// Each of the named files in the desktop folder holds the heart icon's
// bytes.
void ExpectHeartFiles(ScenarioRun& run, const std::vector<std::wstring>& names);

// Five items: answers yes and clicks the heart; nine heart icon files top
// the desktop up to fourteen, and the timer draws the heart once the
// desktop shows them. Returns the stand-in's report of it.
StandInReport HeartFromFive(ScenarioRun& run, const StandIn& desktop, const CorvellaWindow& corvella);

}  // namespace corvella::e2e
