// Steps and checks that the scenario files share: the stand-in's command
// line, answering Corvella's question, counting what reached the view.
#pragma once

#include <windows.h>

#include <cstddef>
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
// The log without the save that comes before an arrangement while no layout
// is pending: a count, then each item's name and place.
StandInReport AfterTheSave(StandInReport report);
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

}  // namespace corvella::e2e
