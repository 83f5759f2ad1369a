// Corvella started beside the stand-in and its window found by what its
// controls show, once its start has put the way back into its system menu.
#include "corvella_window.hpp"

#include <string>

#include "saved_layout_files.hpp"
#include "system_menu.hpp"

namespace corvella::e2e {
namespace {

using std::chrono::seconds;

const std::wstring kHeartCaption = L"ハート型に配置";
const std::wstring kParallelogramCaption = L"平行四辺形型に配置";
const std::wstring kExitCaption = L"終了";
const std::wstring kYesCaption = L"はい";
const std::wstring kNoCaption = L"いいえ";

}  // namespace

CorvellaWindow::CorvellaWindow(const SuitePaths& paths, const StandIn& desktop) {
  const bool layout_pending = FileExists(SavedLayoutPath());
  desktop.ClearLog();
  process_ = std::make_unique<ChildProcess>(paths.corvella, L"");
  if (!WaitUntil(
          [&] {
            window = FindTopLevel(process_->Id(), nullptr, L"Corvella");
            return window != nullptr || !process_->Running();
          },
          seconds(20)) ||
      window == nullptr) {
    throw ScenarioFailed(process_->Running() ? "Corvella's window did not show"
                                             : "Corvella ended with code " + std::to_string(process_->ExitCode()) +
                                                   " before its window showed");
  }
  heart = ChildWithCaption(window, kHeartCaption);
  parallelogram = ChildWithCaption(window, kParallelogramCaption);
  exit = ChildWithCaption(window, kExitCaption);
  yes = ChildWithCaption(window, kYesCaption);
  no = ChildWithCaption(window, kNoCaption);
  column_height = ChildOfClass(window, L"Edit");
  spinner = ChildOfClass(window, L"ScrollBar");

  constexpr seconds kStartTakes(60);
  const bool started = WaitUntil(
      [&] {
        return !process_->Running() ||
               ReadSystemMenuItem(window, kRestoreCommand, paths.menu_probe, kStartTakes).present;
      },
      kStartTakes);
  if (!started || !process_->Running()) {
    throw ScenarioFailed("Corvella's start did not put the way back into its system menu");
  }
  // The layout is saved when an arrangement is about to move the desktop.
  if (!layout_pending && FileExists(SavedLayoutPath())) {
    throw ScenarioFailed("Corvella saved a layout at start");
  }
  if (!desktop.Report().log.empty()) {
    throw ScenarioFailed("Corvella's start should send the view nothing");
  }
}

}  // namespace corvella::e2e
