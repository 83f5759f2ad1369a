// The window's system menu and the keys that choose its commands, the
// notices that one run of the program posts to the windows of another, and
// the message boxes over the window.
#include <string>

#include "core/last_error_win32.hpp"
#include "core/runtime_error.hpp"
#include "core/unicode_win32.hpp"
#include "form/form_win32.hpp"
#include "form/form_win32_internal.hpp"

namespace corvella {

using form_win32::ToWide;

UINT form_win32::NoticeMessage(const FormLayout& layout) {
  return ::RegisterWindowMessageW((Win32Form::WindowClassName(layout) + L".Notice").c_str());
}

void Win32Form::PostNotice(const FormLayout& layout, FormNotice notice) {
  const UINT message = form_win32::NoticeMessage(layout);
  if (message == 0) ThrowLastError("cannot register the notice message");
  const std::wstring class_name = WindowClassName(layout);
  for (HWND window = ::FindWindowExW(nullptr, nullptr, class_name.c_str(), nullptr); window != nullptr;
       window = ::FindWindowExW(nullptr, window, class_name.c_str(), nullptr)) {
    ::PostMessageW(window, message, static_cast<WPARAM>(notice), 0);
  }
}

void Win32Form::OnNotice(WPARAM wparam) { dispatch_.Notice(static_cast<FormNotice>(wparam)); }

void Win32Form::SetMenuCommand(MenuCommand command, std::string_view caption, bool enabled) {
  if (window_ == nullptr) ThrowServiceFailure("the window has no system menu");
  const HMENU menu = ::GetSystemMenu(window_, FALSE);
  if (menu == nullptr) ThrowServiceFailure("the window has no system menu");
  const auto id = static_cast<UINT_PTR>(command);
  const std::wstring text = Utf8ToWide(caption);
  const UINT state = MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED);
  const bool present = ::GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) != static_cast<UINT>(-1);
  if (present) {
    ::ModifyMenuW(menu, static_cast<UINT>(id), MF_BYCOMMAND | state, id, text.c_str());
  } else {
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, state, id, text.c_str());
    menu_commands_.push_back(command);
  }
}

bool Win32Form::OnSysCommand(WPARAM wparam) {
  for (const MenuCommand command : menu_commands_) {
    // The system keeps the low four bits of the id for itself.
    if ((wparam & 0xFFF0) != static_cast<WPARAM>(command)) continue;
    dispatch_.Command(command);
    return true;
  }
  return false;
}

// A shortcut works anywhere in the window, the text box included.
const MenuShortcut* Win32Form::ShortcutOf(const MSG& message) const {
  if (window_ == nullptr || message.message != WM_KEYDOWN) return nullptr;
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) return nullptr;
  for (const MenuShortcut& shortcut : layout_.shortcuts) {
    if (message.wParam == static_cast<WPARAM>(shortcut.key) && ::GetKeyState(VK_CONTROL) < 0 &&
        ::GetKeyState(VK_MENU) >= 0 && ::GetKeyState(VK_SHIFT) >= 0) {
      return &shortcut;
    }
  }
  return nullptr;
}

void Win32Form::OnInitMenuPopup(LPARAM lparam) {
  if (HIWORD(lparam) != 0) dispatch_.MenuOpening();  // the system menu
}

void Win32Form::ShowMessage(std::string_view text) {
  const std::wstring wide = Utf8ToWide(text);
  const std::wstring caption = ToWide(layout_.caption);
  // The box runs a message loop of its own: what it hands out are events of
  // their own, as in any pump.
  dispatch_.Pumping([&] { ::MessageBoxW(window_, wide.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION); });
}

// No is the default button: Enter alone does not go ahead.
bool Win32Form::AskYesNo(std::string_view question) {
  const std::wstring wide = Utf8ToWide(question);
  const std::wstring caption = ToWide(layout_.caption);
  int answer = 0;
  dispatch_.Pumping([&] {
    answer = ::MessageBoxW(window_, wide.c_str(), caption.c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
  });
  return answer == IDYES;
}

}  // namespace corvella
