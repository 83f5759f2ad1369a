// How the driver asks about an item of a window's system menu: Wine keeps a
// menu inside the process that made it, so the question is answered by a
// hook library inside the window's own thread. Shared by that library and
// the driver.
#pragma once

#include <windows.h>

#include <cstdint>

namespace corvella::e2e {

// Posted to the window whose system menu is asked about: wparam is the
// driver's window for the answer, lparam the item's command id.
inline constexpr const wchar_t* kMenuProbeMessageName = L"CorvellaE2EMenuProbe";
// The hook procedure the library exports (a GetMsgProc).
inline constexpr const char* kMenuProbeHookName = "MenuProbeHook";
// WM_COPYDATA dwData of the answer, whose lpData is a MenuProbeAnswer.
inline constexpr ULONG_PTR kMenuProbeAnswerTag = 0x4D50;

struct MenuProbeAnswer {
  std::uint32_t present = 0;  // the menu holds an item with that id
  std::uint32_t state = 0;    // GetMenuState's answer for it
  wchar_t text[256] = {};     // its text, NUL-terminated
};

}  // namespace corvella::e2e
