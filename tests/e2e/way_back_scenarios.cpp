// The way back end to end: Corvella saves the desktop's layout before an
// arrangement moves it, unless a layout is pending, and puts it back from
// the command line, from Ctrl+Z and from its system menu. Places are read
// back from the stand-in, the saved file from the local application data.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "saved_layout_files.hpp"
#include "scenario_steps.hpp"
#include "scenarios.hpp"
#include "shell/folder_view_win32.hpp"
#include "system_menu.hpp"

namespace corvella::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr std::uint32_t kSetRedraw = WM_SETREDRAW;
constexpr std::uint32_t kSetItemPosition32 = 0x1031;  // LVM_SETITEMPOSITION32
const std::wstring kRestoreCaption = L"元の配置に戻す";
constexpr DWORD kRestoreTakesMs = 30000;

struct Place {
  int x = 0;
  int y = 0;
  bool operator==(const Place&) const = default;
};

// Every item the view shows, by its text: the names on these desktops are
// all different.
using Places = std::map<std::string, Place>;

Places PlacesOf(const StandInReport& report) {
  Places places;
  for (const ShownItem& item : report.items) {
    places[item.text] = {item.x, item.y};
  }
  return places;
}

std::string Describe(const Place& place) {
  return "(" + std::to_string(place.x) + ", " + std::to_string(place.y) + ")";
}

void ExpectAt(ScenarioRun& run, const StandInReport& report, const Places& wanted, const std::string& when) {
  const Places shown = PlacesOf(report);
  for (const auto& [name, place] : wanted) {
    const auto found = shown.find(name);
    if (found == shown.end()) {
      run.Expect(false, name + " is missing " + when);
    } else if (found->second != place) {
      run.Expect(false, name + " shows at " + Describe(found->second) + ", not " + Describe(place) + " " + when);
    }
  }
}

// The saved file lists what the view showed before the first arrangement,
// name by name, in the view's order: a wrong reading of the view gives wrong
// or empty names.
void ExpectSavedAsShown(ScenarioRun& run, const StandInReport& shown) {
  const std::optional<SavedLayoutFile> saved = ReadSavedLayout();
  if (!saved) {
    run.Expect(false, "the saved layout should read as Corvella's layout file");
    return;
  }
  run.Expect(saved->items.size() == shown.items.size(), "the saved layout should list " +
                                                            std::to_string(shown.items.size()) + " items, not " +
                                                            std::to_string(saved->items.size()));
  for (std::size_t i = 0; i < saved->items.size() && i < shown.items.size(); ++i) {
    const SavedLine& line = saved->items[i];
    const ShownItem& item = shown.items[i];
    if (line.name != item.text || line.occurrence != 1 || line.x != item.x || line.y != item.y) {
      run.Expect(false, "saved item " + std::to_string(i) + " is \"" + line.name + "\" at " +
                            Describe({line.x, line.y}) + ", but the view showed \"" + item.text + "\" at " +
                            Describe({item.x, item.y}));
      return;
    }
  }
}

std::string SavedBytes() {
  std::string bytes;
  if (!ReadBytes(SavedLayoutPath(), bytes)) {
    throw ScenarioFailed("Corvella's saved layout cannot be read");
  }
  return bytes;
}

std::string SavedAt() {
  const std::optional<SavedLayoutFile> saved = ReadSavedLayout();
  if (!saved) {
    throw ScenarioFailed("Corvella's saved layout does not read");
  }
  return saved->saved_at;
}

// The moves went with the view's redraw off, and it is on again at the end.
void ExpectRedrawBackOn(ScenarioRun& run, const StandInReport& report) {
  std::vector<LoggedMessage> redraws;
  std::copy_if(report.log.begin(), report.log.end(), std::back_inserter(redraws),
               [](const LoggedMessage& entry) { return entry.message == kSetRedraw; });
  run.Expect(redraws.size() == 2 && redraws.front().wparam == 0 && redraws.back().wparam == 1,
             "the restore should switch the view's redraw off once and on again once, not " +
                 std::to_string(redraws.size()) + " times");
}

// A restore in the window ends by switching the view's redraw on again.
StandInReport WaitForRestore(const StandIn& desktop, const std::string& what) {
  return desktop.WaitFor(
      [](const StandInReport& r) {
        return std::any_of(r.log.begin(), r.log.end(),
                           [](const LoggedMessage& entry) { return entry.message == kSetRedraw && entry.wparam == 1; });
      },
      what);
}

// Only counts reached the view: nothing was read or moved.
void ExpectNothingMoved(ScenarioRun& run, const StandIn& desktop, const Places& before, const std::string& when) {
  const StandInReport report = desktop.Report();
  run.Expect(std::all_of(report.log.begin(), report.log.end(),
                         [](const LoggedMessage& entry) { return entry.message == kGetItemCount; }),
             "only counts should reach the view " + when);
  ExpectAt(run, report, before, when);
}

void ExpectMenuItem(ScenarioRun& run, const CorvellaWindow& corvella, const std::wstring& text, bool greyed,
                    const std::string& when) {
  const SystemMenuItem item = ReadSystemMenuItem(corvella.window, kRestoreCommand, run.paths.menu_probe);
  run.Expect(item.present && item.text == text,
             "the system menu should hold \"" + ToUtf8(text) + "\" " + when + ", not \"" + ToUtf8(item.text) + "\"");
  run.Expect(item.present && item.greyed == greyed,
             std::string("the system menu's way back should be ") + (greyed ? "greyed " : "enabled ") + when);
}

void ExpectLayoutRestored(ScenarioRun& run, const std::string& saved_bytes) {
  std::string backup;
  run.Expect(!FileExists(SavedLayoutPath()), "layout.tsv should be gone after the restore");
  run.Expect(ReadBytes(RestoredLayoutPath(), backup) && backup == saved_bytes,
             "layout-restored.tsv should hold the layout as it was saved");
}

StandInReport Arrange(const StandIn& desktop, HWND button, int items, const std::string& what) {
  desktop.ClearLog();
  ClickCentre(button);
  return desktop.WaitFor(
      [&](const StandInReport& r) {
        return PositionMessages(r) >= static_cast<std::size_t>(items) && PictureRecorded(r);
      },
      what, seconds(15));
}

void Exit(ScenarioRun& run, const CorvellaWindow& corvella) {
  ClickCentre(corvella.exit);
  run.Expect(corvella.Process().WaitForExit(10000), "Corvella should end at the exit button");
}

// "Corvella.exe <arguments>" without a window; its exit code.
DWORD RunCommandLine(const ScenarioRun& run, const std::wstring& arguments) {
  ChildProcess corvella(run.paths.corvella, arguments);
  if (!corvella.WaitForExit(kRestoreTakesMs)) {
    const HWND box = MessageBoxOf(corvella.Id());
    throw ScenarioFailed("Corvella " + ToUtf8(arguments) + " did not end" +
                         (box == nullptr ? "" : "; it shows \"" + ToUtf8(MessageText(box)) + "\""));
  }
  return corvella.ExitCode();
}

void ExpectRestoredFromCommandLine(ScenarioRun& run, const StandIn& desktop, const Places& wanted,
                                   const wchar_t* arguments = L"/restore") {
  desktop.ClearLog();
  const DWORD code = RunCommandLine(run, arguments);
  run.Expect(code == 0, "Corvella /restore should end with 0, not " + std::to_string(code));
  const StandInReport report = desktop.Report();
  ExpectAt(run, report, wanted, "after /restore");
  ExpectRedrawBackOn(run, report);
}

// ---------------------------------------------------------------------------
// The scenarios.

void RestoreAfterHeartAndParallelogram(ScenarioRun& run) {
  constexpr int kItems = 20;
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  const StandInReport start = [&] {
    const CorvellaWindow corvella(run.paths, desktop);
    const StandInReport shown = desktop.Report();
    AnswerYes(run, desktop, corvella);
    Arrange(desktop, corvella.heart, kItems, "the heart");
    Arrange(desktop, corvella.parallelogram, kItems, "the parallelogram");
    Exit(run, corvella);
    return shown;
  }();
  ExpectSavedAsShown(run, start);
  const std::string saved = SavedBytes();
  ExpectRestoredFromCommandLine(run, desktop, PlacesOf(start));
  ExpectLayoutRestored(run, saved);
  run.Screenshot("restored");
}

// Ctrl+Z brings the layout back after either picture, since each
// arrangement while nothing is pending saves the desktop's layout first;
// then the way back is spent. A third arrangement's layout outlives a
// restart, whose arrangement keeps it, and /restore brings it back.
void WayBackInTheWindow(ScenarioRun& run) {
  constexpr int kItems = 20;
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  const Places start = PlacesOf(desktop.Report());
  std::string saved;
  std::string saved_at;
  {
    const CorvellaWindow corvella(run.paths, desktop);
    ExpectMenuItem(run, corvella, kRestoreCaption, true, "while nothing is saved");
    AnswerYes(run, desktop, corvella);
    for (const HWND picture : {corvella.heart, corvella.parallelogram}) {
      Arrange(desktop, picture, kItems, "a picture");
      saved = SavedBytes();
      ExpectMenuItem(run, corvella, kRestoreCaption + L"\t" + ToUtf16(SavedAt()), false, "once saved");
      desktop.ClearLog();
      PressKeyWith(VK_CONTROL, 'Z');
      const StandInReport restored = WaitForRestore(desktop, "Ctrl+Z's restore");
      ExpectAt(run, restored, start, "after Ctrl+Z");
      ExpectRedrawBackOn(run, restored);
      // Asked once the restore's handler is over, the file renamed with it.
      ExpectMenuItem(run, corvella, kRestoreCaption, true, "after the restore");
      ExpectLayoutRestored(run, saved);
    }
    desktop.ClearLog();
    ::PostMessageW(corvella.window, WM_SYSCOMMAND, kRestoreCommand, 0);
    const std::wstring text = DismissMessageBox(corvella.Process(), "for the spent way back");
    run.Expect(Contains(text, L"保存された配置がありません"),
               "the box should say that nothing is saved, not \"" + ToUtf8(text) + "\"");
    ExpectNothingMoved(run, desktop, start, "with nothing saved");
    Arrange(desktop, corvella.heart, kItems, "the third picture");
    saved = SavedBytes();
    saved_at = SavedAt();
    Exit(run, corvella);
  }
  {
    // The desktop still shows the heart: its layout is not the user's.
    const CorvellaWindow corvella(run.paths, desktop);
    ExpectMenuItem(run, corvella, kRestoreCaption + L"\t" + ToUtf16(saved_at), false, "after the restart");
    AnswerYes(run, desktop, corvella);
    Arrange(desktop, corvella.parallelogram, kItems, "the parallelogram after the restart");
    run.Expect(SavedBytes() == saved, "the arrangement after the restart should keep the pending layout");
    Exit(run, corvella);
  }
  ExpectRestoredFromCommandLine(run, desktop, start);
  ExpectLayoutRestored(run, saved);
}

// A file named Corvella where the layout's folder should be: the click
// tells that the layout cannot be saved, and where, before anything moves;
// いいえ moves nothing, はい arranges without a way back.
void LayoutFolderTakenByAFile(ScenarioRun& run) {
  constexpr int kItems = 10;
  WriteBytes(SavedLayoutFolder(), "not a folder");
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  const Places start = PlacesOf(desktop.Report());
  const CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  for (const int answer : {IDNO, IDYES}) {
    const std::string what = answer == IDNO ? "before いいえ" : "before はい";
    desktop.ClearLog();
    ClickCentre(corvella.parallelogram);
    run.Expect(WaitUntil([&] { return MessageBoxOf(corvella.Process().Id()) != nullptr; }, seconds(15)),
               "the click should show a box " + what);
    const StandInReport asking = desktop.Report();
    run.Expect(PositionMessages(asking) == 0, "nothing should move " + what);
    ExpectAt(run, asking, start, what);
    const std::wstring text = DismissMessageBox(corvella.Process(), what, answer);
    run.Expect(text.rfind(L"配置を保存できませんでした", 0) == 0 && Contains(text, SavedLayoutPath()),
               "the box should say that the layout cannot be saved to " + ToUtf8(SavedLayoutPath()) + ", not \"" +
                   ToUtf8(text) + "\"");
    if (answer == IDNO) {
      Pause(kQuietSpell);
      run.Expect(PositionMessages(desktop.Report()) == 0, "いいえ should move nothing");
    }
  }
  desktop.WaitFor([](const StandInReport& r) { return PositionMessages(r) >= kItems; }, "the parallelogram after はい");
  ExpectMenuItem(run, corvella, kRestoreCaption, true, "with nothing saved");
}

// Explorer restarting: the view is gone at the heart's click. The box says
// the desktop does not answer; nothing is written, moved or saved, and no
// timer draws a heart over the icons once the view is back, where the next
// click puts a newer Corvella's layout.tsv aside before it saves.
void DesktopGoneAtTheClick(ScenarioRun& run) {
  constexpr int kItems = 20;
  const std::string newer = "corvella-layout 99\tfrom a newer Corvella\n";
  ::CreateDirectoryW(SavedLayoutFolder().c_str(), nullptr);
  WriteBytes(SavedLayoutPath(), newer);
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  const CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  desktop.LoseView(true);
  ClickCentre(corvella.heart);
  const std::wstring text = DismissMessageBox(corvella.Process(), "for the heart without a desktop");
  run.Expect(text.rfind(L"デスクトップが応答していません", 0) == 0, "the box should say the desktop does not answer");
  desktop.LoseView(false);
  Pause(kQuietSpell);
  run.Expect(desktop.Report().log.empty() && FilesIn(run.desktop).empty() && SavedBytes() == newer,
             "nothing should reach the view or be written");
  Arrange(desktop, corvella.heart, kItems, "the heart once the desktop is back");
  std::string kept;
  run.Expect(ReadBytes(SavedLayoutFolder() + L"\\layout-newer.tsv", kept) && kept == newer, "the newer layout is kept");
}

// "Corvella.exe /restore" beside a window whose heart waits for files the
// desktop does not show yet: the window stops waiting, so no heart is drawn
// over the layout once the desktop holds enough items.
void CommandLineRestoreCallsOffAWaitingHeart(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(5, L"--frozen"), run.paths.scratch);
  const Places start = PlacesOf(desktop.Report());
  const CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  ClickCentre(corvella.heart);
  run.Expect(WaitUntil([&] { return FilesIn(run.desktop).size() == 9; }, seconds(10)),
             "nine heart icon files should wait to be shown");
  ExpectRestoredFromCommandLine(run, desktop, start);

  desktop.ClearLog();
  for (const wchar_t* name : {L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h"}) {
    WriteBytes(run.desktop + L"\\" + name + L".txt", "text");
  }
  desktop.FollowFolder();
  desktop.WaitFor([](const StandInReport& r) { return r.items.size() == 13; }, "thirteen items shown");
  Pause(kQuietSpell);
  const StandInReport later = desktop.Report();
  run.Expect(later.log.empty(), "the window should have stopped counting the items, but the view was sent " +
                                    std::to_string(later.log.size()) + " messages");
  ExpectAt(run, later, start, "once the desktop shows thirteen items");
}

// The heart's top-up copies go at the restore; of the user's files, those
// still there go back and a new one stays where the desktop put it. Quiet,
// as a box would count the one gone.
void RestoreWithFilesAddedAndRemoved(ScenarioRun& run) {
  for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"}) {
    WriteBytes(run.desktop + L"\\" + name, "text");
  }
  StandIn desktop(run.paths.standin, Arguments(3), run.paths.scratch);
  Places start;
  StandInReport arranged;
  {
    const CorvellaWindow corvella(run.paths, desktop);
    start = PlacesOf(desktop.Report());
    AnswerYes(run, desktop, corvella);
    // Seven items: Plim1.ico to Plim7.ico top the desktop up to fourteen.
    Arrange(desktop, corvella.heart, 14, "the heart after the top-up");
    ::DeleteFileW((run.desktop + L"\\b.txt").c_str());
    WriteBytes(run.desktop + L"\\e.txt", "new");
    arranged = desktop.WaitFor(
        [](const StandInReport& r) {
          const Places shown = PlacesOf(r);
          return shown.count("e.txt") == 1 && shown.count("b.txt") == 0;
        },
        "b.txt gone and e.txt shown");
    Exit(run, corvella);
  }
  run.Expect(FilesIn(run.desktop).size() == 11, "the desktop folder should hold four files and seven heart icons");

  start.erase("b.txt");
  start["e.txt"] = PlacesOf(arranged).at("e.txt");
  ExpectRestoredFromCommandLine(run, desktop, start, L"／restore ／quiet");
  run.Expect(Sorted(FilesIn(run.desktop)) == Sorted({L"a.txt", L"c.txt", L"d.txt", L"e.txt"}),
             "the restore should delete the heart icon copies and only those");
  const StandInReport later =
      desktop.WaitFor([](const StandInReport& r) { return r.items.size() == 7; }, "the heart icons dropped");
  ExpectAt(run, later, start, "once the heart icons are gone");
}

// A hand-edited file: each way back says so, nothing moves, and the file
// stays as it is, also across a start.
void DamagedLayoutFile(ScenarioRun& run) {
  constexpr int kItems = 10;
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  Places arranged;
  {
    const CorvellaWindow corvella(run.paths, desktop);
    AnswerYes(run, desktop, corvella);
    arranged = PlacesOf(Arrange(desktop, corvella.parallelogram, kItems, "the parallelogram"));
    Exit(run, corvella);
  }
  const std::string damaged = SavedBytes() + "Item 99\t1\t12px\t40\n";
  WriteBytes(SavedLayoutPath(), damaged);
  const std::wstring kDamagedReport = L"壊れているか、書き換えられています";

  desktop.ClearLog();
  {
    ChildProcess restore(run.paths.corvella, L"/restore");
    const std::wstring text = DismissMessageBox(restore, "for /restore");
    run.Expect(Contains(text, kDamagedReport), "the box should say the file is damaged, not \"" + ToUtf8(text) + "\"");
    run.Expect(restore.WaitForExit(5000) && restore.ExitCode() != 0,
               "/restore should end with a code other than 0, not " + std::to_string(restore.ExitCode()));
  }
  ExpectNothingMoved(run, desktop, arranged, "after /restore");

  {
    ChildProcess quiet(run.paths.corvella, L"/restore /quiet");
    bool shown = false;
    WaitUntil(
        [&] {
          shown = shown || FindTopLevel(quiet.Id(), nullptr, nullptr) != nullptr;
          return !quiet.Running();
        },
        seconds(10));
    run.Expect(!shown, "/restore /quiet should show no window");
    run.Expect(!quiet.Running() && quiet.ExitCode() != 0,
               "/restore /quiet should end with a code other than 0, not " + std::to_string(quiet.ExitCode()));
  }
  ExpectNothingMoved(run, desktop, arranged, "after /restore /quiet");

  {
    const CorvellaWindow corvella(run.paths, desktop);
    ExpectMenuItem(run, corvella, kRestoreCaption, false, "for a damaged file");
    ClickCentre(corvella.no);
    PressKeyWith(VK_CONTROL, 'Z');
    const std::wstring text = DismissMessageBox(corvella.Process(), "for Ctrl+Z");
    run.Expect(Contains(text, kDamagedReport), "the box should say the file is damaged, not \"" + ToUtf8(text) + "\"");
    ExpectNothingMoved(run, desktop, arranged, "after Ctrl+Z");
    Exit(run, corvella);
  }
  run.Expect(SavedBytes() == damaged, "the damaged file should stay byte for byte");
  run.Expect(!FileExists(RestoredLayoutPath()), "a damaged file should not become the backup");
}

// The 32-bit Corvella reads a 64-bit view through LVITEMW's 64-bit layout.
void RestoreInto64BitDesktop(ScenarioRun& run) {
  constexpr int kItems = 20;
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  const StandInReport start = [&] {
    const CorvellaWindow corvella(run.paths, desktop);
    if (corvella.Process().Is64Bit() || !desktop.Process().Is64Bit()) {
      throw ScenarioFailed("this needs a 32-bit Corvella and a 64-bit stand-in in a 64-bit prefix");
    }
    const StandInReport shown = desktop.Report();
    AnswerYes(run, desktop, corvella);
    Arrange(desktop, corvella.heart, kItems, "the heart");
    Exit(run, corvella);
    return shown;
  }();
  ExpectSavedAsShown(run, start);
  ExpectRestoredFromCommandLine(run, desktop, PlacesOf(start));
}

// A desktop that stalls in the middle of a restore: Corvella gives up on
// it, and yet its redraw comes back on and the move that waited there
// finds its buffer; the layout stays saved for another try.
void RestoreIntoAStallingDesktop(ScenarioRun& run) {
  constexpr int kItems = 20;
  constexpr milliseconds kStall(5000);
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  Places start;
  {
    const CorvellaWindow corvella(run.paths, desktop);
    start = PlacesOf(desktop.Report());
    AnswerYes(run, desktop, corvella);
    Arrange(desktop, corvella.heart, kItems, "the heart");
    Exit(run, corvella);
  }
  desktop.StallAt(kSetItemPosition32, 5, kStall);
  const DWORD code = RunCommandLine(run, L"/restore /quiet");
  run.Expect(code == 7, "/restore /quiet into a stalling desktop should end with 7, not " + std::to_string(code));
  Pause(kStall);
  const StandInReport stalled = desktop.Report();
  run.Expect(stalled.redraw_on, "the view's redraw should be on again once it answers");
  run.Expect(stalled.stale_pointers.empty(), "the move that waited in the view should not point into freed memory");
  ExpectRestoredFromCommandLine(run, desktop, start);
}

// A saved layout none of whose items is on the desktop any more puts
// nothing back: no item moves, the exit code says so and the file stays.
// A misused line under /quiet ends at once, with no box to wait on.
void RestoreWithNoSavedItemLeft(ScenarioRun& run) {
  StandIn desktop(run.paths.standin, Arguments(5), run.paths.scratch);
  const std::string saved = "corvella-layout 1\t2026-12-08 09:30:05\t1280\t800\nGone 1\t1\t10\t20\nGone 2\t1\t30\t40\n";
  ::CreateDirectoryW(SavedLayoutFolder().c_str(), nullptr);
  WriteBytes(SavedLayoutPath(), saved);
  const Places before = PlacesOf(desktop.Report());

  const DWORD misused = RunCommandLine(run, L"/restore /quiet /x");
  run.Expect(misused == 10, "/restore /quiet /x should end with 10, no box, not " + std::to_string(misused));
  const DWORD code = RunCommandLine(run, L"/restore /quiet");
  run.Expect(code == 8, "/restore /quiet with no saved item left should end with 8, not " + std::to_string(code));
  run.Expect(SavedBytes() == saved && !FileExists(RestoredLayoutPath()), "layout.tsv should stay as it was");
  ExpectAt(run, desktop.Report(), before, "after /restore /quiet");
}

// A layout saved on the whole screen and restored onto a view of 640 by 480,
// as on a laptop taken off its dock: an icon the smaller view shows wholly
// stays in its cell of the icon grid, the others come to free cells inside
// it, none on another, the box counts them and the exit code stays 0.
void RestoreOntoASmallerView(ScenarioRun& run) {
  constexpr int kItems = 40;  // 8 columns of 5, spread to the larger view's edges
  Places saved;
  SIZE cell{};
  {
    StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
    const HWND progman = FindTopLevel(desktop.Process().Id(), L"Progman", nullptr);
    const HWND list = ::FindWindowExW(::FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr), nullptr,
                                      L"SysListView32", nullptr);
    const auto spacing = static_cast<DWORD>(::SendMessageW(list, LVM_GETITEMSPACING, FALSE, 0));
    cell = SIZE{LOWORD(spacing), HIWORD(spacing)};
    RECT client{};
    ::GetClientRect(list, &client);
    for (int i = 0; i < kItems; ++i) {
      ::SendMessageW(list, kSetItemPosition, i,
                     Packed({(i % 8) * (client.right - cell.cx) / 7, (i / 8) * (client.bottom - cell.cy) / 4}));
    }
    saved = PlacesOf(desktop.Report());
    const CorvellaWindow corvella(run.paths, desktop);
    AnswerYes(run, desktop, corvella);
    Arrange(desktop, corvella.parallelogram, kItems, "the parallelogram");
    Exit(run, corvella);
  }
  StandIn desktop(run.paths.standin, Arguments(kItems, L"--size 640 480"), run.paths.scratch);
  ChildProcess restore(run.paths.corvella, L"/restore");
  const std::wstring text = DismissMessageBox(restore, "for /restore onto the smaller view");
  run.Expect(restore.WaitForExit(5000) && restore.ExitCode() == 0, "/restore onto the smaller view should end with 0");

  const auto inside = [&](Place p) { return p.x >= 0 && p.y >= 0 && p.x + cell.cx <= 640 && p.y + cell.cy <= 480; };
  const Places shown = PlacesOf(desktop.Report());
  int moved_to_fit = 0;
  for (const auto& [name, place] : saved) {
    const Place at = shown.count(name) == 1 ? shown.at(name) : Place{-1, -1};
    const bool in_its_cell = std::abs(at.x - place.x) <= cell.cx / 2 && std::abs(at.y - place.y) <= cell.cy / 2;
    moved_to_fit += inside(place) ? 0 : 1;
    run.Expect(inside(at) && (in_its_cell || !inside(place)),
               name + ", saved at " + Describe(place) + ", should not show at " + Describe(at));
    for (const auto& [other, there] : shown) {
      run.Expect(other <= name || std::abs(at.x - there.x) >= cell.cx || std::abs(at.y - there.y) >= cell.cy,
                 name + " should not lie on " + other);
    }
  }
  run.Expect(Contains(text, std::to_wstring(moved_to_fit) + L" 個のアイコンは、今の画面に収まるように"),
             "the box should count " + std::to_string(moved_to_fit) + " icons moved to fit: " + ToUtf8(text));
}

// The user drags every item somewhere new: two columns from x 700 on.
Places LayOutByHand(const StandIn& desktop) {
  const HWND progman = FindTopLevel(desktop.Process().Id(), L"Progman", nullptr);
  const HWND list = ::FindWindowExW(::FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr), nullptr,
                                    L"SysListView32", nullptr);
  if (list == nullptr) throw ScenarioFailed("the stand-in's view cannot be found");
  Places wanted;
  const StandInReport shown = desktop.Report();
  for (std::size_t i = 0; i < shown.items.size(); ++i) {
    const Place place{700 + static_cast<int>(i % 2) * 90, 20 + static_cast<int>(i / 2) * 70};
    ::SendMessageW(list, kSetItemPosition, i, Packed({place.x, place.y}));
    wanted[shown.items[i].text] = place;
  }
  return wanted;
}

// A heart left on the desktop at exit, then a layout the user makes by
// hand: the next run's arrangement saves that layout, the one it replaces
// stays as layout-previous.tsv, a temporary file that an earlier save left
// when it was cut off goes, and Ctrl+Z brings the hand-made layout back.
void LayoutMadeByHandAfterAHeartIsSaved(ScenarioRun& run) {
  constexpr int kItems = 16;
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  {
    const CorvellaWindow corvella(run.paths, desktop);
    AnswerYes(run, desktop, corvella);
    Arrange(desktop, corvella.heart, kItems, "the heart");
    Exit(run, corvella);
  }
  const std::string first_saved = SavedBytes();
  const Places by_hand = LayOutByHand(desktop);
  const StandInReport laid_out = desktop.Report();
  ExpectAt(run, laid_out, by_hand, "once laid out by hand");
  const std::wstring cut_off = SavedLayoutFolder() + L"\\lay1F.tmp";
  WriteBytes(cut_off, "corvella-layout 1\t2026");

  const CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  Arrange(desktop, corvella.parallelogram, kItems, "the parallelogram after the restart");
  ExpectSavedAsShown(run, laid_out);
  std::string previous;
  run.Expect(ReadBytes(PreviousLayoutPath(), previous) && previous == first_saved,
             "layout-previous.tsv should hold the layout the save replaced");
  run.Expect(!FileExists(cut_off), "the save should remove the temporary file a cut-off save left");
  desktop.ClearLog();
  PressKeyWith(VK_CONTROL, 'Z');
  ExpectAt(run, WaitForRestore(desktop, "Ctrl+Z's restore"), by_hand, "after Ctrl+Z");
  Exit(run, corvella);
}

// Each click and each restore walks the shell's way to the desktop's folder
// view, walked here first with Corvella's own code to show that the shell
// answers it. Wine's folder view shows none of the stand-in's items, so the
// check declines it: the heart and the restore end as the list view alone
// makes them, message for message.
void HeartAndRestoreBesideTheShellsFolderView(ScenarioRun& run) {
  const auto counted = std::make_shared<std::optional<std::int32_t>>();
  const FolderViewRun walked = Win32FolderViewHost().Run(
      [counted](FolderView& view) {
        *counted = view.ItemCount();
        return true;
      },
      5000);
  if (walked != FolderViewRun::Done) throw ScenarioFailed("the shell does not answer the way to its folder view");
  run.notes.push_back("the shell's folder view answers, counting " +
                      (counted->has_value() ? std::to_string(**counted) + " items" : std::string("nothing")));

  constexpr int kItems = 20;
  StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
  const Places start = PlacesOf(desktop.Report());
  const CorvellaWindow corvella(run.paths, desktop);
  AnswerYes(run, desktop, corvella);
  Arrange(desktop, corvella.heart, kItems, "the heart");
  const StandInReport heart = AfterTheSave(ExpectQuietAfterwards(run, desktop));
  ExpectOneArrangement(run, heart, 1, kItems, HeartPicture(kItems, 8));
  ExpectShownAt(run, heart, HeartPicture(kItems, 8), kItems);

  desktop.ClearLog();
  PressKeyWith(VK_CONTROL, 'Z');
  const StandInReport restored = WaitForRestore(desktop, "Ctrl+Z's restore");
  ExpectAt(run, restored, start, "after Ctrl+Z");
  ExpectRedrawBackOn(run, restored);
  Exit(run, corvella);
}

}  // namespace

std::vector<Scenario> WayBackScenarios() {
  return {
      {"restore_after_heart_and_parallelogram", RestoreAfterHeartAndParallelogram},
      {"way_back_in_the_window", WayBackInTheWindow},
      {"layout_folder_taken_by_a_file", LayoutFolderTakenByAFile},
      {"desktop_gone_at_the_click", DesktopGoneAtTheClick},
      {"command_line_restore_calls_off_a_waiting_heart", CommandLineRestoreCallsOffAWaitingHeart},
      {"restore_with_files_added_and_removed", RestoreWithFilesAddedAndRemoved},
      {"damaged_layout_file", DamagedLayoutFile},
      {"restore_into_a_stalling_desktop", RestoreIntoAStallingDesktop},
      {"restore_with_no_saved_item_left", RestoreWithNoSavedItemLeft},
      {"layout_made_by_hand_after_a_heart_is_saved", LayoutMadeByHandAfterAHeartIsSaved},
      {"restore_onto_a_smaller_view", RestoreOntoASmallerView},
      {"restore_into_64bit_desktop", RestoreInto64BitDesktop, true},
      {"heart_and_restore_beside_the_shells_folder_view", HeartAndRestoreBesideTheShellsFolderView},
  };
}

}  // namespace corvella::e2e
