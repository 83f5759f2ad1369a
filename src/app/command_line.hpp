// What the command line asks of Corvella: "/restore" puts the saved layout
// back without opening the window, "/quiet" keeps it from showing a message.
#pragma once

#include <string_view>

namespace corvella {

struct CommandLine {
  bool restore = false;
  bool quiet = false;
};

// The whole command line as Windows hands it over, the program's own path
// first (quoted when it holds blanks). Switches start with '/' or '-', may
// stand in quotes and are read without regard to case; anything else is left
// alone, and the window opens as usual.
CommandLine ParseCommandLine(std::u16string_view command_line);

}  // namespace corvella
