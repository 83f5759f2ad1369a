// The end-to-end benchmark: the heart and the parallelogram over many items
// through the desktop stand-in, drawn by Corvella and by the minimal sender.
// The stand-in stamps each message as it arrives; a figure is the time from
// the count to the last position message, the median over several runs.
#include <algorithm>
#include <cstdio>

#include "saved_layout_files.hpp"
#include "scenarios.hpp"

namespace corvella::e2e {
namespace {

using std::chrono::seconds;

double MedianMillis(std::vector<std::int64_t> micros) {
  std::sort(micros.begin(), micros.end());
  return static_cast<double>(micros[micros.size() / 2]) / 1000.0;
}

// Waits for one whole arrangement in the log and returns how long it took,
// from the first count to the last position. Corvella's heart counts twice:
// once for the click and once for the heart itself. While it runs only the
// log's length is asked, for Corvella and the minimal sender alike.
std::int64_t ArrangementMicros(const StandIn& desktop, int items, std::size_t counts, const std::string& what) {
  const std::size_t expected = static_cast<std::size_t>(items) + counts;
  if (!WaitUntil([&] { return desktop.LogSize() >= expected; }, seconds(120))) {
    throw ScenarioFailed(what + " did not finish");
  }
  const StandInReport report = desktop.Report();
  const bool counted =
      std::all_of(report.log.begin(), report.log.begin() + static_cast<std::ptrdiff_t>(counts),
                  [&](const LoggedMessage& entry) { return entry.message == kGetItemCount && entry.result == items; });
  const LoggedMessage& last = report.log.back();
  if (report.log.size() != expected || !counted || last.message != kSetItemPosition ||
      last.wparam != static_cast<std::uint32_t>(items - 1)) {
    throw ScenarioFailed(what + " was not " + std::to_string(counts) + " count(s) and " + std::to_string(items) +
                         " positions");
  }
  return last.micros - report.log.front().micros;
}

struct Figures {
  std::vector<std::int64_t> heart;
  std::vector<std::int64_t> parallelogram;
};

Figures MeasureCorvella(const SuitePaths& paths, const StandIn& desktop, int items, int runs) {
  Figures figures;
  CorvellaWindow corvella(paths.corvella, desktop);
  ClickCentre(corvella.yes);
  if (!WaitUntil([&] { return ::IsWindowEnabled(corvella.heart) != FALSE; }, seconds(5))) {
    throw ScenarioFailed("yes did not enable the heart button");
  }
  for (int run = 0; run < runs; ++run) {
    desktop.ClearLog();
    ClickCentre(corvella.heart);
    figures.heart.push_back(ArrangementMicros(desktop, items, 2, "Corvella's heart"));
    desktop.ClearLog();
    ClickCentre(corvella.parallelogram);
    figures.parallelogram.push_back(ArrangementMicros(desktop, items, 1, "Corvella's parallelogram"));
  }
  return figures;
}

Figures MeasureMinimalSender(const SuitePaths& paths, const StandIn& desktop, int items, int runs) {
  Figures figures;
  for (int run = 0; run < runs; ++run) {
    desktop.ClearLog();
    ChildProcess heart(paths.sender, L"heart");
    figures.heart.push_back(ArrangementMicros(desktop, items, 1, "the minimal heart"));
    heart.WaitForExit(10000);
    desktop.ClearLog();
    ChildProcess parallelogram(paths.sender, L"parallelogram");
    figures.parallelogram.push_back(ArrangementMicros(desktop, items, 1, "the minimal parallelogram"));
    parallelogram.WaitForExit(10000);
  }
  return figures;
}

void PrintLine(const char* picture, double corvella, double minimal) {
  std::printf("%-14s Corvella %9.1f ms   minimal sender %9.1f ms   ratio %.2f\n", picture, corvella, minimal,
              corvella / minimal);
}

}  // namespace

bool RunBenchmark(const SuitePaths& paths, int items, int runs) {
  try {
    EmptyFolder(DesktopFolder());
    RemoveSavedLayouts();
    StandIn desktop(paths.standin, L"--items " + std::to_wstring(items), paths.scratch);
    const Figures corvella = MeasureCorvella(paths, desktop, items, runs);
    const Figures minimal = MeasureMinimalSender(paths, desktop, items, runs);
    std::printf("%d items, median of %d runs, from the first count to the last position message:\n", items, runs);
    PrintLine("heart", MedianMillis(corvella.heart), MedianMillis(minimal.heart));
    PrintLine("parallelogram", MedianMillis(corvella.parallelogram), MedianMillis(minimal.parallelogram));
    return true;
  } catch (const ScenarioFailed& failed) {
    std::printf("benchmark: %s\n", failed.what());
    return false;
  }
}

}  // namespace corvella::e2e
