#include "system_menu.hpp"

#include <memory>
#include <type_traits>

#include "driver_windows.hpp"
#include "menu_probe_protocol.hpp"

namespace corvella::e2e {
namespace {

constexpr wchar_t kAnswerWindowClass[] = L"CorvellaE2EMenuAnswer";

struct LibraryFreer {
  void operator()(HMODULE library) const { ::FreeLibrary(library); }
};
using ScopedLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer>;

struct HookRemover {
  void operator()(HHOOK hook) const { ::UnhookWindowsHookEx(hook); }
};
using ScopedHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRemover>;

struct WindowDestroyer {
  void operator()(HWND window) const { ::DestroyWindow(window); }
};
using ScopedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

struct PendingAnswer {
  bool arrived = false;
  MenuProbeAnswer answer;
};

LRESULT CALLBACK AnswerWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COPYDATA) {
    auto* pending = reinterpret_cast<PendingAnswer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    if (pending != nullptr && data->dwData == kMenuProbeAnswerTag && data->cbData == sizeof(MenuProbeAnswer)) {
      pending->answer = *static_cast<const MenuProbeAnswer*>(data->lpData);
      pending->arrived = true;
      return 1;
    }
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

// A message-only window of the driver's that takes the answer.
ScopedWindow AnswerWindow(PendingAnswer& pending) {
  static const ATOM registered = [] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = AnswerWindowProc;
    window_class.hInstance = ::GetModuleHandleW(nullptr);
    window_class.lpszClassName = kAnswerWindowClass;
    return ::RegisterClassExW(&window_class);
  }();
  ScopedWindow window(registered == 0 ? nullptr
                                      : ::CreateWindowExW(0, kAnswerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                          nullptr, ::GetModuleHandleW(nullptr), nullptr));
  if (!window) {
    throw ScenarioFailed("cannot create the window for the system menu's answer");
  }
  ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pending));
  return window;
}

}  // namespace

SystemMenuItem ReadSystemMenuItem(HWND window, UINT command_id, const std::wstring& probe_library,
                                  std::chrono::milliseconds answer_within) {
  const ScopedLibrary library(::LoadLibraryW(probe_library.c_str()));
  const auto hook_procedure = library ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(
                                            ::GetProcAddress(library.get(), kMenuProbeHookName)))
                                      : nullptr;
  if (hook_procedure == nullptr) {
    throw ScenarioFailed("cannot load the menu probe " + ToUtf8(probe_library));
  }
  const ScopedHook hook(
      ::SetWindowsHookExW(WH_GETMESSAGE, hook_procedure, library.get(), ::GetWindowThreadProcessId(window, nullptr)));
  if (!hook) {
    throw ScenarioFailed("cannot place the menu probe in the window's thread");
  }
  PendingAnswer pending;
  const ScopedWindow answer_window = AnswerWindow(pending);
  const UINT probe = ::RegisterWindowMessageW(kMenuProbeMessageName);
  ::PostMessageW(window, probe, reinterpret_cast<WPARAM>(answer_window.get()), command_id);

  const auto deadline = std::chrono::steady_clock::now() + answer_within;
  while (!pending.arrived && std::chrono::steady_clock::now() < deadline) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::DispatchMessageW(&message);
    }
  }
  if (!pending.arrived) {
    throw ScenarioFailed("the window's thread did not answer about its system menu");
  }
  SystemMenuItem item;
  item.present = pending.answer.present != 0;
  item.text = pending.answer.text;
  item.greyed = (pending.answer.state & MF_GRAYED) != 0;
  return item;
}

}  // namespace corvella::e2e
