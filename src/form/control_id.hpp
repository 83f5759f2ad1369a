// Controls and system-menu commands as the form runtime sees them: numbers
// that a form's description hands out. A control id is the control's place
// in its form, a menu command the id of its menu item; the program that
// describes the form defines both enums with names for its own.
#pragma once

namespace corvella {

enum class ControlId : int;
enum class MenuCommand : unsigned;

}  // namespace corvella
