// Corvella as the driver starts and finds it, beside the desktop stand-in:
// the paths of the programs and folders the driver works with, and
// Corvella's window with its controls once its start is done.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "driver_windows.hpp"
#include "standin_client.hpp"

namespace corvella::e2e {

struct SuitePaths {
  std::wstring corvella;
  std::wstring standin;
  std::wstring heart_icon;  // the icon file Corvella carries as its HEART resource
  std::wstring scratch;     // a folder for the driver's own files
  std::wstring shots;       // where screenshots go; empty for none
  std::wstring menu_probe;  // the menu probe library, of Corvella's bitness
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

}  // namespace corvella::e2e
