// The window scenarios: Corvella's window at start and its question, the
// exit button and Alt+F4 while the heart waits, a desktop that hangs, huge
// Plim files, a second Corvella, a Japanese desktop folder, and yes with a
// view that arranges its icons by itself.
#include "window_scenarios.hpp"

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "arrangement_scenarios.hpp"
#include "scenario_steps.hpp"
#include "user_desktop_folder.hpp"

namespace corvella::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

const std::wstring kQuestion = L"アイコンの自動整列を解除しましたか。";

// A desktop that never shows the new files keeps the timer waiting.
void StartWaitingHeart(ScenarioRun& run, const StandIn& desktop, const CorvellaWindow& corvella) {
  AnswerYes(run, desktop, corvella);
  ClickCentre(corvella.heart);
  run.Expect(WaitUntil([&] { return Sorted(FilesIn(run.desktop)) == Sorted(HeartFileNames(9)); }, seconds(10)),
             "Plim1.ico to Plim9.ico should be written");
  desktop.WaitFor([](const StandInReport& r) { return AfterTheSave(r).log.size() >= 3; }, "two ticks of the timer");
}

void ExpectEndedWithFilesKept(ScenarioRun& run, const StandIn& desktop, const CorvellaWindow& corvella,
                              const std::string& how) {
  run.Expect(corvella.Process().WaitForExit(5000), "Corvella should end at once after " + how);
  const StandInReport report = desktop.Report();
  const StandInReport waiting = AfterTheSave(report);
  const bool only_counts =
      std::all_of(waiting.log.begin(), waiting.log.end(), [](const LoggedMessage& entry) { return IsCount(entry, 5); });
  run.Expect(only_counts, "a waiting timer should only count, and count five");
  ExpectQuietAfterwards(run, desktop);
  run.Expect(Sorted(FilesIn(run.desktop)) == Sorted(HeartFileNames(9)),
             "the heart icon files should stay after " + how);
  ExpectHeartFiles(run, HeartFileNames(9));
}

}  // namespace

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

// A desktop that stops answering must not hold Corvella's window: asked to
// close while the desktop hangs, Corvella ends long before it answers again,
// the box that asks about the failed save of the layout open or not.
void HungShellClose(ScenarioRun& run) {
  constexpr milliseconds kHang(12000);
  // Wine without a window manager already takes about two seconds to take
  // each closed window away, the box that tells of the failed save included,
  // and the message under way may take its time-out.
  constexpr milliseconds kPromptly(8000);
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

}  // namespace corvella::e2e
