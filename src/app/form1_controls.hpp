// The main window's controls and its timer by the names the program gives
// them: the kind of control and a number, "Command1" for the first button.
#pragma once

#include "form/control_id.hpp"

namespace corvella {

// In tab order; the timer, which takes no focus, last.
enum class ControlId : int {
  Command1,  // the heart button, "ハート型に配置" (arrange as a heart)
  Command2,  // the parallelogram button, "平行四辺形型に配置" (arrange as a parallelogram)
  Command3,  // the exit button, "終了" (exit)
  Text1,     // the column height, icons per column of both grids
  Label1,    // "たて" (down), before the column height
  Label2,    // "列" (per column), after the spinner
  VScroll1,  // the spinner that steps the column height
  Label3,    // the question "アイコンの自動整列を解除しましたか。" (is auto-arrange off?)
  Command4,  // "はい" (yes): enables both arrangement buttons
  Command5,  // "いいえ" (no): does nothing
  Timer1,    // waits for the shell to show the heart icon files
};

// Commands of the window's system menu, by their fixed ids, so that scripts
// and tests can post the WM_SYSCOMMAND that a click sends.
enum class MenuCommand : unsigned {
  RestoreLayout = 0x0110,  // "元の配置に戻す": puts the desktop's own layout back (also Ctrl+Z)
};

// What a Corvella tells every open Corvella window.
enum class FormNotice : unsigned {
  LayoutRestored = 1,  // a restore has begun: a waiting heart would be drawn over the layout
};

}  // namespace corvella
