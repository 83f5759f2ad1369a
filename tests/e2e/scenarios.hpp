// The end-to-end scenarios: each starts the desktop stand-in on an empty
// desktop folder, with nothing saved of an earlier layout, and Corvella
// beside it, uses Corvella's window as a person does, and checks what the
// desktop shows, what reached its list view and what lies in the desktop
// folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "driver_windows.hpp"
#include "standin_client.hpp"

namespace corvella::e2e {

struct SuitePaths {
  std::wstring corvella;
  std::wstring standin;
  std::wstring sender;
  std::wstring heart_icon;      // the icon file Corvella carries as its HEART resource
  std::wstring scratch;         // a folder for the driver's own files
  std::wstring shots;           // where screenshots go; empty for none
  std::wstring menu_probe;      // the menu probe library, of Corvella's bitness
  std::wstring minimal_window;  // the window the benchmark holds Corvella's start against
};

// The command id of Corvella's way back in its system menu.
inline constexpr UINT kRestoreCommand = 0x0110;

// Corvella's window and its controls, found by what they show. Once its
// window shows, Corvella puts the way back into its system menu, greyed
// while nothing is saved; the window is handed over once that is done. Its
// start saves no layout and sends the view nothing, so that a scenario sees
// only what its own steps send: the first arrangement while no layout is
// pending saves the desktop's layout first (see AfterTheSave).
class CorvellaWindow {
 public:
  CorvellaWindow(const SuitePaths& paths, const StandIn& desktop);

  [[nodiscard]] const ChildProcess& Process() const { return *process_; }

  HWND window = nullptr;
  HWND heart = nullptr;          // "ハート型に配置"
  HWND parallelogram = nullptr;  // "平行四辺形型に配置"
  HWND exit = nullptr;           // "終了"
  HWND yes = nullptr;            // "はい"
  HWND no = nullptr;             // "いいえ"
  HWND column_height = nullptr;  // the text box
  HWND spinner = nullptr;        // its scroll bar

 private:
  std::unique_ptr<ChildProcess> process_;
};

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

// Corvella's size and its start against the minimal window, in alternating
// rounds; then, unless `runs` is 0, the heart and the parallelogram over many
// items, Corvella against the minimal sender, and saving and restoring the
// same items beside Corvella's parallelogram; prints the figures and their
// ratios.
bool RunBenchmark(const SuitePaths& paths, int items, int runs, int start_rounds);

}  // namespace corvella::e2e
