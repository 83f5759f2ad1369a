// The window's system menu: the commands the logic adds to it, the keys that
// choose them anywhere in the window, and the word that it is about to open.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "form/control_id.hpp"
#include "form/control_layout.hpp"
#include "form/form_dispatch.hpp"

namespace corvella {

class FormSystemMenu {
 public:
  FormSystemMenu(const FormLayout& layout, FormDispatch& dispatch);
  FormSystemMenu(const FormSystemMenu&) = delete;
  FormSystemMenu& operator=(const FormSystemMenu&) = delete;

  // Adds the command to the window's system menu, or changes its caption
  // and whether it can be chosen.
  void SetCommand(HWND window, MenuCommand command, std::string_view caption, bool enabled);
  // A key press of one of the layout's shortcuts in the window chooses its
  // command; returns whether the message was one.
  bool ChooseByKey(HWND window, const MSG& message);

  // Returns whether the command was one of those added.
  bool OnSysCommand(WPARAM wparam);
  void OnInitMenuPopup(LPARAM lparam);

 private:
  const FormLayout& layout_;
  FormDispatch& dispatch_;
  std::vector<MenuCommand> commands_;  // those added to the system menu
};

}  // namespace corvella
