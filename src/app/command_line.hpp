// What the command line asks of Corvella: "/restore" puts the saved layout
// back without opening the window, "/quiet" keeps it from showing any box;
// any other switch is a mistake, shown rather than ignored.
#pragma once

#include <string_view>

namespace corvella {

struct CommandLine {
  bool restore = false;
  bool quiet = false;
  // A switch other than /restore and /quiet, or /quiet without /restore:
  // the window does not open, and the usage is shown instead.
  bool misused = false;
};

// The exit code of a command line that is misused.
inline constexpr int kUsageExitCode = 10;

// The whole command line as Windows hands it over, the program's own path
// first (quoted when it holds blanks). Switches start with '/', '-' or the
// full-width '／' a Japanese keyboard types, may stand in quotes and are read
// without regard to case; a word that is no switch (a file dropped onto the
// program) is left alone.
CommandLine ParseCommandLine(std::u16string_view command_line);

// How to use the command line, for the box a misused one shows.
std::string_view CommandLineUsage();

}  // namespace corvella
