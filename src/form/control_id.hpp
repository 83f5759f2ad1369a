// Controls, system-menu commands and notices as the form runtime sees them:
// numbers that a form's description hands out. A control id is the
// control's place in its form, a menu command the id of its menu item, a
// notice what one run of the program tells every open window of the form;
// the program that describes the form defines the enums with names of its
// own.
#pragma once

namespace corvella {

enum class ControlId : int;
enum class MenuCommand : unsigned;
enum class FormNotice : unsigned;

}  // namespace corvella
