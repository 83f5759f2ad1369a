// The commands of the window's system menu, added and changed for the logic,
// and chosen from the menu or by their keys.
#include "form/form_system_menu_win32.hpp"

#include <string>

#include "core/runtime_error.hpp"
#include "core/unicode_win32.hpp"

namespace corvella {

FormSystemMenu::FormSystemMenu(const FormLayout& layout, FormDispatch& dispatch)
    : layout_(layout), dispatch_(dispatch) {}

void FormSystemMenu::SetCommand(HWND window, MenuCommand command, std::string_view caption, bool enabled) {
  if (window == nullptr) ThrowServiceFailure("the window has no system menu");
  const HMENU menu = ::GetSystemMenu(window, FALSE);
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
    commands_.push_back(command);
  }
}

// A shortcut works anywhere in the window, the text box included.
bool FormSystemMenu::ChooseByKey(HWND window, const MSG& message) {
  if (window == nullptr || message.message != WM_KEYDOWN) return false;
  if (message.hwnd != window && !::IsChild(window, message.hwnd)) return false;
  for (const MenuShortcut& shortcut : layout_.shortcuts) {
    if (message.wParam == static_cast<WPARAM>(shortcut.key) && ::GetKeyState(VK_CONTROL) < 0 &&
        ::GetKeyState(VK_MENU) >= 0 && ::GetKeyState(VK_SHIFT) >= 0) {
      dispatch_.Command(shortcut.command);
      return true;
    }
  }
  return false;
}

bool FormSystemMenu::OnSysCommand(WPARAM wparam) {
  for (const MenuCommand command : commands_) {
    // The system keeps the low four bits of the id for itself.
    if ((wparam & 0xFFF0) != static_cast<WPARAM>(command)) continue;
    dispatch_.Command(command);
    return true;
  }
  return false;
}

void FormSystemMenu::OnInitMenuPopup(LPARAM lparam) {
  if (HIWORD(lparam) != 0) dispatch_.MenuOpening();  // the system menu
}

}  // namespace corvella
