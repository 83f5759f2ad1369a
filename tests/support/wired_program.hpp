// The program wired as its entry point wires it, over the test doubles: one
// in-memory desktop for the window and the way back, a scratch desktop
// folder, a layout kept in memory and a headless window. A restore's notice
// to every open window reaches this one. Header only: the test executable
// defines where the resources are.
#pragma once

#include <functional>

#include "app/form1.hpp"
#include "app/main_window_layout.hpp"
#include "app/way_back.hpp"
#include "fake_desktop.hpp"
#include "fake_folder_platform.hpp"
#include "headless_form.hpp"
#include "host_files.hpp"
#include "memory_layout_storage.hpp"
#include "resource_files.hpp"
#include "scratch_folder.hpp"

namespace corvella::testing {

struct WiredProgram {
  // The desktop's view holds no items at first; without it, the shell shows none.
  explicit WiredProgram(bool with_desktop_view = true) {
    folders_.special_folders[0] = scratch_.path().u16string();
    if (with_desktop_view) list_ = desktop_.AddShellDesktop(0);
  }

  ScratchFolder scratch_;
  FakeDesktop desktop_{ProcessBitness::Bits64};
  WindowHandle list_ = 0;
  FakeFolderPlatform folders_;
  HostFileServices files_;
  ResourceFiles resources_{CORVELLA_RESOURCES_DIR};
  MemoryLayoutStorage storage_;
  // How often the way back waited for the shell, and what the shell does
  // meanwhile.
  int pauses_ = 0;
  std::function<void()> while_paused_;
  // The local time the way back reads.
  SavedTime now_{2026, 12, 8, 9, 30, 5};
  DesktopFolderView folder_view_{desktop_};
  WayBack way_back_{storage_,
                    desktop_,
                    desktop_.process(),
                    folder_view_,
                    files_,
                    resources_,
                    [this](int) {
                      ++pauses_;
                      if (while_paused_) while_paused_();
                    },
                    [this] { return now_; },
                    [this] { form_.QueueNotice(FormNotice::LayoutRestored); }};
  HeadlessForm form_{MainWindowLayout()};
  Form1 form1_{form_, desktop_, folder_view_, files_, resources_, folders_, way_back_};
};

}  // namespace corvella::testing
