// A window as it opens: its caption, client area and every control with its
// kind, caption, place in twips, tab order and initial state. Both form
// runtimes build a window from such a table.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "form/control_id.hpp"

namespace corvella {

enum class ControlKind { PushButton, Label, TextBox, VerticalScrollBar, Timer };

struct ControlLayout {
  ControlId id;
  std::string_view name;  // the program's own name, "Command1"
  ControlKind kind;
  std::u16string_view text;  // caption or initial text, UTF-16
  int left;                  // twips from the client area's top-left corner
  int top;
  int width;
  int height;
  int tab_index;  // -1 for the timer, which takes no focus
  bool enabled;
  bool sizes_to_caption;  // labels size themselves to their captions
  int minimum;            // scroll bar range and value
  int maximum;
  int value;
  int interval_ms;  // timer
};

// A system-menu command that a key chooses too: Ctrl with the key, without
// Alt or Shift, anywhere in the window.
struct MenuShortcut {
  MenuCommand command;
  char key;  // the key's capital letter, 'Z'
};

struct FormLayout {
  std::string_view name;
  std::u16string_view caption;
  int client_width;                         // twips
  int client_height;                        // twips
  std::span<const ControlLayout> controls;  // in tab order, timers last
  int icon_resource = 0;                    // the window's icon group in the program's resources; 0 for none
  std::span<const MenuShortcut> shortcuts = {};
};

// How many places a table indexed by control id needs: the highest id
// in the form, plus one.
std::size_t ControlSlots(const FormLayout& layout);

// 1440 twips to the inch: 15 twips to a pixel at 96 DPI.
int TwipsToPixels(int twips, int dpi);

}  // namespace corvella
