// The main window as it opens, "Form1": its caption, client area and every
// control in the table that both form runtimes build windows from.
#pragma once

#include "app/form1_controls.hpp"
#include "form/control_layout.hpp"

namespace corvella {

const FormLayout& MainWindowLayout();

}  // namespace corvella
