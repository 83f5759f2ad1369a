// The end-to-end benchmark: Corvella's size, and its start until its window
// is painted against the minimal window's, in alternating rounds beside a
// desktop of twenty items; the heart and the parallelogram over many items
// through the desktop stand-in, drawn by Corvella and by the minimal sender;
// and Corvella's way back over the same items, beside its parallelogram:
// the save before the first arrangement and "/restore" after the
// arrangements. The stand-in stamps each message as it arrives; a figure is
// the time from the first message to the last, the median over several
// runs; besides, the time from Corvella's launch until its window answers.
#include "e2e_benchmark.hpp"

#include <algorithm>
#include <cstdio>

#include "saved_layout_files.hpp"

namespace corvella::e2e {
namespace {

using std::chrono::seconds;

constexpr std::uint32_t kGetItemTextW = 0x1073;       // LVM_GETITEMTEXTW
constexpr std::uint32_t kGetItemPosition = 0x1010;    // LVM_GETITEMPOSITION
constexpr std::uint32_t kSetItemPosition32 = 0x1031;  // LVM_SETITEMPOSITION32
constexpr std::uint32_t kSetRedraw = 0x000B;          // WM_SETREDRAW
// The goals for the way back, against the parallelogram of the same items.
constexpr double kMostSaveShare = 0.25;
constexpr double kLeastRestoreSpeedUp = 10.0;
// The goals for the shipped exe: its size, and its start against the
// minimal window's.
constexpr std::uint64_t kMostExeBytes = 300 * 1024;
constexpr double kMostStartRatio = 1.15;
constexpr int kStartDesktopItems = 20;

double MedianMillis(std::vector<std::int64_t> micros) {
  std::sort(micros.begin(), micros.end());
  return static_cast<double>(micros[micros.size() / 2]) / 1000.0;
}

std::int64_t Span(const std::vector<LoggedMessage>& log) {
  return log.empty() ? 0 : log.back().micros - log.front().micros;
}

std::size_t CountOf(const std::vector<LoggedMessage>& log, std::uint32_t message) {
  return static_cast<std::size_t>(
      std::count_if(log.begin(), log.end(), [&](const LoggedMessage& entry) { return entry.message == message; }));
}

// Waits for one whole arrangement in the log, after `before` messages of
// something else and followed by `after` more (Corvella's record of the
// picture), and returns how long it took, from the first count to the last
// position; `earlier` receives the messages before it. Corvella's heart
// counts twice: once for the click and once for the heart itself; Corvella
// then asks the view's icon spacing, once (`questions`). While it runs only
// the log's length is asked, for Corvella and the minimal sender alike.
std::int64_t ArrangementMicros(const StandIn& desktop, int items, std::size_t counts, std::size_t questions,
                               const std::string& what, std::size_t before = 0, std::size_t after = 0,
                               std::vector<LoggedMessage>* earlier = nullptr) {
  const std::size_t expected = before + static_cast<std::size_t>(items) + counts + questions;
  if (!WaitUntil([&] { return desktop.LogSize() >= expected + after; }, seconds(120))) {
    throw ScenarioFailed(what + " did not finish");
  }
  StandInReport report = desktop.Report();
  if (report.log.size() != expected + after) {
    throw ScenarioFailed(what + " sent " + std::to_string(report.log.size()) + " messages, not " +
                         std::to_string(expected + after));
  }
  report.log.resize(expected);
  const auto first = report.log.begin() + static_cast<std::ptrdiff_t>(before);
  if (earlier != nullptr) {
    earlier->assign(report.log.begin(), first);
  }
  report.log.erase(report.log.begin(), first);
  const bool counted =
      std::all_of(report.log.begin(), report.log.begin() + static_cast<std::ptrdiff_t>(counts),
                  [&](const LoggedMessage& entry) { return entry.message == kGetItemCount && entry.result == items; });
  const LoggedMessage& last = report.log.back();
  if (!counted || last.message != kSetItemPosition || last.wparam != static_cast<std::uint32_t>(items - 1)) {
    throw ScenarioFailed(what + " was not " + std::to_string(counts) + " count(s) and " + std::to_string(items) +
                         " positions");
  }
  return Span(report.log);
}

std::int64_t MicrosSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
}

bool AwaitsPaint(HWND window) { return ::GetUpdateRect(window, nullptr, FALSE) != FALSE; }

// Visible, with nothing left to paint in it or any of its controls.
bool Painted(HWND window) {
  if (window == nullptr || !::IsWindowVisible(window) || AwaitsPaint(window)) {
    return false;
  }
  const std::vector<HWND> controls = Children(window);
  return std::none_of(controls.begin(), controls.end(), AwaitsPaint);
}

// From the launch until the program's window (found by its caption) is
// painted; then the window is closed and the program waited for.
std::int64_t StartUntilPainted(const std::wstring& exe, const wchar_t* caption) {
  const auto launched = std::chrono::steady_clock::now();
  ChildProcess program(exe, L"");
  HWND window = nullptr;
  if (!WaitUntil(
          [&] {
            window = FindTopLevel(program.Id(), nullptr, caption);
            return Painted(window);
          },
          seconds(30))) {
    throw ScenarioFailed(ToUtf8(exe) + " did not paint its window");
  }
  const std::int64_t micros = MicrosSince(launched);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (!program.WaitForExit(10000)) {
    throw ScenarioFailed(ToUtf8(exe) + " did not end when its window was closed");
  }
  return micros;
}

std::uint64_t FileBytes(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    throw ScenarioFailed("cannot read the size of " + ToUtf8(path));
  }
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

const char* Verdict(bool met) { return met ? "met" : "missed"; }

// Rounds alternate which of the two starts first, so that neither always
// finds the system's caches warmed by the other.
void MeasureStart(const SuitePaths& paths, const std::wstring& minimal_window, int rounds) {
  RemoveSavedLayouts();
  const StandIn desktop(paths.standin, L"--items " + std::to_wstring(kStartDesktopItems), paths.scratch);
  std::vector<std::int64_t> corvella;
  std::vector<std::int64_t> minimal;
  for (int round = 0; round < rounds; ++round) {
    const bool corvella_first = round % 2 == 0;
    if (corvella_first) corvella.push_back(StartUntilPainted(paths.corvella, L"Corvella"));
    minimal.push_back(StartUntilPainted(minimal_window, L"Minimal window"));
    if (!corvella_first) corvella.push_back(StartUntilPainted(paths.corvella, L"Corvella"));
  }
  const std::uint64_t bytes = FileBytes(paths.corvella);
  std::printf("Corvella.exe: %llu bytes, %.1f KB (goal at most %llu KB: %s)\n", static_cast<unsigned long long>(bytes),
              static_cast<double>(bytes) / 1024.0, static_cast<unsigned long long>(kMostExeBytes / 1024),
              Verdict(bytes <= kMostExeBytes));
  // Each round's own ratio too: the two starts of one round share the load
  // of the machine.
  std::vector<double> round_ratios;
  for (std::size_t round = 0; round < corvella.size(); ++round) {
    round_ratios.push_back(static_cast<double>(corvella[round]) / static_cast<double>(minimal[round]));
  }
  std::sort(round_ratios.begin(), round_ratios.end());
  const double ratio = MedianMillis(corvella) / MedianMillis(minimal);
  std::printf(
      "from the launch until the window is painted, median of %d alternating rounds beside %d desktop items:\n"
      "Corvella %.1f ms   minimal window %.1f ms   ratio %.2f (goal at most %.2f: %s); median of the rounds' "
      "ratios %.2f\n",
      rounds, kStartDesktopItems, MedianMillis(corvella), MedianMillis(minimal), ratio, kMostStartRatio,
      Verdict(ratio <= kMostStartRatio), round_ratios[round_ratios.size() / 2]);
}

struct Figures {
  std::vector<std::int64_t> heart;
  std::vector<std::int64_t> parallelogram;
  std::vector<std::int64_t> save;
  std::vector<std::int64_t> restore;
  // The restore reads every item's name, then moves the items with the
  // view's redraw off.
  std::vector<std::int64_t> restore_reading;
  std::vector<std::int64_t> restore_moving;
  std::vector<std::int64_t> restore_start_to_exit;
  // From Corvella's launch until its window answers with the way back in
  // its system menu.
  std::vector<std::int64_t> launch_to_window;
  std::size_t parallelogram_messages = 0;
  std::size_t save_messages = 0;
  std::size_t restore_messages = 0;
  std::size_t restore_reading_messages = 0;
};

void MeasureSave(Figures& figures, const std::vector<LoggedMessage>& save_log, int items) {
  const auto all = static_cast<std::size_t>(items);
  if (CountOf(save_log, kGetItemTextW) != all || CountOf(save_log, kGetItemPosition) != all ||
      !FileExists(SavedLayoutPath())) {
    throw ScenarioFailed("the save before the heart did not read every item once");
  }
  figures.save.push_back(Span(save_log));
  figures.save_messages = save_log.size();
}

// "/restore" after the arrangements: every item goes back.
void MeasureRestore(Figures& figures, const SuitePaths& paths, const StandIn& desktop, int items) {
  desktop.ClearLog();
  const auto started = std::chrono::steady_clock::now();
  ChildProcess restore(paths.corvella, L"/restore");
  if (!restore.WaitForExit(120000) || restore.ExitCode() != 0) {
    throw ScenarioFailed("/restore did not end with 0");
  }
  figures.restore_start_to_exit.push_back(
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started).count());
  const StandInReport report = desktop.Report();
  if (CountOf(report.log, kSetItemPosition32) != static_cast<std::size_t>(items)) {
    throw ScenarioFailed("/restore did not move every item once");
  }
  const auto redraw_off = std::find_if(report.log.begin(), report.log.end(),
                                       [](const LoggedMessage& entry) { return entry.message == kSetRedraw; });
  if (redraw_off == report.log.end()) {
    throw ScenarioFailed("/restore did not switch the view's redraw off");
  }
  figures.restore.push_back(Span(report.log));
  figures.restore_reading.push_back(redraw_off->micros - report.log.front().micros);
  figures.restore_moving.push_back(report.log.back().micros - redraw_off->micros);
  figures.restore_messages = report.log.size();
  figures.restore_reading_messages = static_cast<std::size_t>(redraw_off - report.log.begin());
}

// Each run starts with nothing saved, so that the heart's click saves the
// layout first: a count, then each item's name and place.
Figures MeasureCorvella(const SuitePaths& paths, const StandIn& desktop, int items, int runs) {
  Figures figures;
  for (int run = 0; run < runs; ++run) {
    RemoveSavedLayouts();
    const auto launched = std::chrono::steady_clock::now();
    CorvellaWindow corvella(paths, desktop);
    figures.launch_to_window.push_back(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - launched).count());
    ClickCentre(corvella.yes);
    if (!WaitUntil([&] { return ::IsWindowEnabled(corvella.heart) != FALSE; }, seconds(5))) {
      throw ScenarioFailed("yes did not enable the heart button");
    }
    desktop.ClearLog();
    ClickCentre(corvella.heart);
    // Each read of the items, the save or the look at the click and the
    // record after the picture, is a count and each item's name and place;
    // the one at the click asks the view's icon spacing first.
    const std::size_t read = 1 + 2 * static_cast<std::size_t>(items);
    const std::size_t click = 1 + read;
    std::vector<LoggedMessage> save_log;
    figures.heart.push_back(ArrangementMicros(desktop, items, 2, 1, "Corvella's heart", click, read, &save_log));
    MeasureSave(figures, save_log, items);
    desktop.ClearLog();
    ClickCentre(corvella.parallelogram);
    figures.parallelogram.push_back(ArrangementMicros(desktop, items, 1, 1, "Corvella's parallelogram", click, read));
    figures.parallelogram_messages = static_cast<std::size_t>(items) + 2;
    ClickCentre(corvella.exit);
    if (!corvella.Process().WaitForExit(10000)) {
      throw ScenarioFailed("Corvella did not end at its exit button");
    }
    MeasureRestore(figures, paths, desktop, items);
  }
  return figures;
}

Figures MeasureMinimalSender(const std::wstring& sender, const StandIn& desktop, int items, int runs) {
  Figures figures;
  for (int run = 0; run < runs; ++run) {
    desktop.ClearLog();
    ChildProcess heart(sender, L"heart");
    figures.heart.push_back(ArrangementMicros(desktop, items, 1, 0, "the minimal heart"));
    heart.WaitForExit(10000);
    desktop.ClearLog();
    ChildProcess parallelogram(sender, L"parallelogram");
    figures.parallelogram.push_back(ArrangementMicros(desktop, items, 1, 0, "the minimal parallelogram"));
    parallelogram.WaitForExit(10000);
  }
  return figures;
}

void PrintLine(const char* picture, double corvella, double minimal) {
  std::printf("%-14s Corvella %9.1f ms   minimal sender %9.1f ms   ratio %.2f\n", picture, corvella, minimal,
              corvella / minimal);
}

void PrintPart(const char* part, double millis, std::size_t messages, int items) {
  std::printf("%-22s %9.1f ms  %6zu messages, %.2f per item, %5.0f us each\n", part, millis, messages,
              static_cast<double>(messages) / items, millis * 1000.0 / static_cast<double>(messages));
}

void PrintWayBack(const Figures& corvella, int items) {
  const double parallelogram = MedianMillis(corvella.parallelogram);
  const double save = MedianMillis(corvella.save);
  const double restore = MedianMillis(corvella.restore);
  std::printf("the way back over the same items, beside Corvella's parallelogram:\n");
  PrintPart("parallelogram", parallelogram, corvella.parallelogram_messages, items);
  PrintPart("save", save, corvella.save_messages, items);
  PrintPart("restore", restore, corvella.restore_messages, items);
  PrintPart("  reading the names", MedianMillis(corvella.restore_reading), corvella.restore_reading_messages, items);
  PrintPart("  moving, redraw off", MedianMillis(corvella.restore_moving),
            corvella.restore_messages - corvella.restore_reading_messages, items);
  std::printf(
      "save / parallelogram %.2f (goal at most %.2f: %s); parallelogram / restore %.2f (goal at least %.0f: "
      "%s)\n",
      save / parallelogram, kMostSaveShare, Verdict(save / parallelogram <= kMostSaveShare), parallelogram / restore,
      kLeastRestoreSpeedUp, Verdict(parallelogram / restore >= kLeastRestoreSpeedUp));
  std::printf("/restore from its start to its exit: %.1f ms\n", MedianMillis(corvella.restore_start_to_exit));
  std::printf("Corvella from its launch until its window answers: %.1f ms\n", MedianMillis(corvella.launch_to_window));
}

}  // namespace

bool RunBenchmark(const BenchmarkPaths& paths, int items, int runs, int start_rounds) {
  try {
    EmptyFolder(DesktopFolder());
    MeasureStart(paths.suite, paths.minimal_window, start_rounds);
    if (runs == 0) {
      return true;
    }
    StandIn desktop(paths.suite.standin, L"--items " + std::to_wstring(items), paths.suite.scratch);
    const Figures corvella = MeasureCorvella(paths.suite, desktop, items, runs);
    const Figures minimal = MeasureMinimalSender(paths.sender, desktop, items, runs);
    std::printf("%d items, median of %d runs, from the first message to the view to the last:\n", items, runs);
    PrintLine("heart", MedianMillis(corvella.heart), MedianMillis(minimal.heart));
    PrintLine("parallelogram", MedianMillis(corvella.parallelogram), MedianMillis(minimal.parallelogram));
    PrintWayBack(corvella, items);
    return true;
  } catch (const ScenarioFailed& failed) {
    std::printf("benchmark: %s\n", failed.what());
    return false;
  }
}

}  // namespace corvella::e2e
