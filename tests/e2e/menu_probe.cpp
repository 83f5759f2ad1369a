// The driver's hook library: placed in a window's thread by the driver, it
// reads one item of that window's system menu where the menu lives and
// sends it back (see menu_probe_protocol.hpp).
#include <windows.h>

#include <iterator>

#include "menu_probe_protocol.hpp"

namespace {

void Answer(HWND window, HWND driver, UINT command_id) {
  corvella::e2e::MenuProbeAnswer answer;
  const HMENU menu = ::GetSystemMenu(window, FALSE);
  const UINT state = menu == nullptr ? static_cast<UINT>(-1) : ::GetMenuState(menu, command_id, MF_BYCOMMAND);
  if (state != static_cast<UINT>(-1)) {
    answer.present = 1;
    answer.state = state;
    ::GetMenuStringW(menu, command_id, answer.text, static_cast<int>(std::size(answer.text)), MF_BYCOMMAND);
  }
  COPYDATASTRUCT data{corvella::e2e::kMenuProbeAnswerTag, sizeof(answer), &answer};
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(driver, WM_COPYDATA, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&data),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wparam, LPARAM lparam) {
  auto* message = reinterpret_cast<MSG*>(lparam);
  // Registered messages lie from 0xC000 on: most messages go by at once.
  if (code == HC_ACTION && wparam == PM_REMOVE && message->message >= 0xC000 &&
      message->message == ::RegisterWindowMessageW(corvella::e2e::kMenuProbeMessageName)) {
    Answer(message->hwnd, reinterpret_cast<HWND>(message->wParam), static_cast<UINT>(message->lParam));
    // Answered here: the window itself never sees the question.
    message->message = WM_NULL;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}
