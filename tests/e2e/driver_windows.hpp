// What the driver needs of Windows to use a program as a person does:
// starting and watching processes, finding windows and controls, real mouse
// clicks and key presses, reading back what the screen shows, screenshots.
#pragma once

#include <windows.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "standin_protocol.hpp"

namespace corvella::e2e {

// A scenario that cannot go on; the message says what was expected.
struct ScenarioFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A process the driver started; it is ended when this goes away.
class ChildProcess {
 public:
  ChildProcess(const std::wstring& exe, const std::wstring& arguments);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  [[nodiscard]] DWORD Id() const { return info_.dwProcessId; }
  [[nodiscard]] bool Running() const;
  // Waits for the process to end; false when it still runs after the wait.
  bool WaitForExit(DWORD millis) const;
  // The code the process ended with (STILL_ACTIVE while it runs).
  [[nodiscard]] DWORD ExitCode() const;
  // Whether it runs as 64-bit code, rather than 32-bit code on any system.
  [[nodiscard]] bool Is64Bit() const;

 private:
  PROCESS_INFORMATION info_{};
};

// Polls until the condition holds or the time is up; returns the last answer.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return condition();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

void Pause(std::chrono::milliseconds length);

// A file in the folder of the running program.
std::wstring BesideThisProgram(const wchar_t* file);

// A visible top-level window of the process with that caption (any class
// when class_name is null), or null.
HWND FindTopLevel(DWORD process_id, const wchar_t* class_name, const wchar_t* caption);
std::vector<HWND> Children(HWND parent);
HWND ChildWithCaption(HWND parent, const std::wstring& caption);
HWND ChildOfClass(HWND parent, const std::wstring& class_name);

std::wstring ClassOf(HWND window);
// The text a control shows, read across processes.
std::wstring TextOf(HWND window);
HWND FocusOf(HWND top_level);
int ScrollPositionOf(HWND scroll_bar);

// Clicks the point (client coordinates of the target) with the real mouse.
// Throws when another window covers that point.
void ClickAt(HWND target, POINT client_point);
// On a Wine virtual desktop the desktop window hears of each pointer move
// late and puts the pointer back where it was, so that a click can land
// there: the pointer then rests on its target a moment before each click.
void RestPointerBeforeClicks(bool rest);
void ClickCentre(HWND target);
void PressKey(WORD virtual_key);
void PressKeyWith(WORD modifier, WORD virtual_key);
// Types the text on the keyboard, character by character.
void TypeText(const std::wstring& text);

// Writes the whole screen, or the part of it in the area, as a 24-bit BMP
// file.
bool SaveScreenshot(const std::wstring& path);
bool SaveScreenshot(const std::wstring& path, const RECT& area);

}  // namespace corvella::e2e
