// WayBack, the front of the way back: what the window and "/restore" ask.
// The desktop's own layout is saved before an arrangement moves it; at a
// restore every open window's waiting heart is called off, the heart icon
// copies go, the shell is given a moment to drop them from its view, then the
// saved layout is put back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "files/file_services.hpp"
#include "files/resource_reader.hpp"
#include "restore/layout_keeper.hpp"
#include "shell/window_system.hpp"

namespace corvella {

// How a restore went, and what the menu shows after it: the saved file as
// the restore's one read found it, or nothing once it became the backup.
struct RestoreDone {
  RestoreResult result;
  SavedLayoutSummary summary;
};

class WayBack {
 public:
  // pause(ms) waits that long for the shell; now() is the local time;
  // call_off_hearts() tells every open Corvella window to stop waiting for
  // its heart.
  WayBack(LayoutKeeper& keeper, WindowSystem& windows, FileServices& files, ResourceReader& resources,
          std::function<void(int)> pause, std::function<SavedTime()> now, std::function<void()> call_off_hearts);

  // Saves the desktop's layout unless one saved earlier was never restored
  // and the desktop still shows Corvella's last picture.
  SaveOutcome SaveUnlessPending();
  // After an arrangement on `view`: where it put each item.
  void RecordPicture(WindowHandle view);
  // With a sound saved layout, removes the heart icon copies from the
  // desktop folder (none without a path) and restores; otherwise only says
  // why it cannot. A view that arranges its items by itself would undo the
  // moves at once: nothing is touched then. Reads the saved file once.
  RestoreDone Restore(std::string_view desktop);
  [[nodiscard]] SavedLayoutSummary Summary();
  [[nodiscard]] std::string Location() const { return keeper_.Location(); }

 private:
  // Waits, a little at a time and at most a few seconds, until the view
  // shows `deleted` items fewer than `before`.
  void LetTheShellCatchUp(WindowHandle view, std::int32_t before, std::int32_t deleted);
  bool ViewArrangesItself(WindowHandle view);

  LayoutKeeper& keeper_;
  WindowSystem& windows_;
  FileServices& files_;
  ResourceReader& resources_;
  std::function<void(int)> pause_;
  std::function<SavedTime()> now_;
  std::function<void()> call_off_hearts_;
};

// "元の配置に戻す" and, when the saved file tells, the time it was saved.
std::string RestoreMenuCaption(const SavedLayoutSummary& summary);
// The question a failed save asks before anything moves: why, where the
// layout is kept, and whether to arrange without a way back. Empty when the
// way back holds, and without a desktop view, where nothing would move.
std::string SaveFailureQuestion(SaveOutcome outcome, std::string_view location);
// What to tell the user after a restore; empty when every saved item is back
// where it was saved.
std::string RestoreReport(const RestoreResult& result);
// The exit code of "Corvella.exe /restore": 0 when the layout is back.
int RestoreExitCode(RestoreOutcome outcome);

}  // namespace corvella
