// Reads an item of another program's system menu, as a person sees it when
// the menu opens: its text and whether it is greyed. The menu probe library
// does the reading inside that program's window thread.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

namespace corvella::e2e {

struct SystemMenuItem {
  bool present = false;
  std::wstring text;
  bool greyed = false;
};

// probe_library: the path of menu_probe.dll, of the window's bitness.
// Throws ScenarioFailed when the window's thread does not answer in time.
SystemMenuItem ReadSystemMenuItem(HWND window, UINT command_id, const std::wstring& probe_library,
                                  std::chrono::milliseconds answer_within = std::chrono::seconds(10));

}  // namespace corvella::e2e
