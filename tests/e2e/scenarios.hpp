// The end-to-end scenarios: each starts the desktop stand-in on an empty
// desktop folder, with nothing saved of an earlier layout, and Corvella
// beside it, uses Corvella's window as a person does, and checks what the
// desktop shows, what reached its list view and what lies in the desktop
// folder.
#pragma once

#include <string>
#include <vector>

#include "corvella_window.hpp"

namespace corvella::e2e {

// One run of one scenario: its checks, its desktop folder, its screenshots.
class ScenarioRun {
 public:
  explicit ScenarioRun(const SuitePaths& suite_paths);

  void Expect(bool holds, const std::string& what);
  void Screenshot(const std::string& stage) const;

  const SuitePaths& paths;
  std::wstring desktop;
  std::vector<std::string> failures;
  // What the scenario measured, printed after its outcome.
  std::vector<std::string> notes;
};

struct Scenario {
  const char* name;
  void (*run)(ScenarioRun&);
  // Runs the 32-bit Corvella against a 64-bit stand-in, in a 64-bit prefix.
  bool across_bitness = false;
};

const std::vector<Scenario>& AllScenarios();
// The way back: saving at start, restoring from the command line, the
// keyboard and the system menu.
std::vector<Scenario> WayBackScenarios();
// A desktop folder path near MAX_PATH and past it: heart icon files whole
// in the desktop folder or nowhere, and no cut-off name anywhere.
void LongDesktopFolderPath(ScenarioRun& run);
// Runs one scenario, prints its outcome and returns whether it passed.
bool RunScenario(const Scenario& scenario, const SuitePaths& paths);

// A short scripted tour (yes, heart, parallelogram, then the heart on a
// desktop at 200 %) on a Wine virtual desktop, with a screenshot of each
// stage, heart-readme.bmp (the heart beside Corvella's window) and
// window.bmp with window-parts.tsv (the window and where its parts stand),
// for the run command on a machine without a display. Tells each step as
// it starts.
bool RunTour(const SuitePaths& paths);

}  // namespace corvella::e2e
