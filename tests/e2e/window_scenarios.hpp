// The window scenarios: Corvella's window and its question, ending it, and
// what it does about the desktop, the desktop folder and a second Corvella.
#pragma once

#include "scenarios.hpp"

namespace corvella::e2e {

// The window at start, its Tab order, no and yes.
void StartUpAndQuestion(ScenarioRun& run);
// The exit button while the heart waits for the desktop: Corvella ends at
// once and the heart icon files stay.
void ExitWithTimerArmed(ScenarioRun& run);
// Alt+F4 likewise.
void CloseTheWindow(ScenarioRun& run);
// Asked to close while the desktop hangs, Corvella ends promptly.
void HungShellClose(ScenarioRun& run);
// Huge files named like heart icon files stay as they are.
void HugePlimFiles(ScenarioRun& run);
// A second Corvella hands over to the first one and ends.
void SecondInstanceDuringTopUp(ScenarioRun& run);
// The desktop folder under a Japanese name, where the registry says.
void JapaneseDesktopFolder(ScenarioRun& run);
// The stand-in's options for a view that arranges its icons by itself.
void StandInViewStyles(ScenarioRun& run);
// Yes names the view's own arranging, and says nothing for a view without.
void YesNamesTheViewsOwnArranging(ScenarioRun& run);

}  // namespace corvella::e2e
