#include "app/command_line.hpp"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <string_view>

namespace corvella {
namespace {

struct CommandLineRow {
  std::u16string_view line;
  bool restore;
  bool quiet;
  bool misused;
};

TEST(CommandLine, RestoreAndQuietInEitherFormCaseOrQuotingAnyOtherSwitchIsMisuse) {
  const CommandLineRow rows[] = {
      {u"Corvella.exe", false, false, false},
      {u"\"C:\\Program Files\\Corvella.exe\"  /RESTORE\t\"-Quiet\"", true, true, false},
      {u"x -restore /quiet /restore", true, true, false},
      // The program's own path is no switch, even when it looks like one.
      {u"/restore", false, false, false},
      // Words that are no switch, such as a file dropped onto the program, are left alone.
      {u"x restore", false, false, false},
      {u"x \"\"", false, false, false},
      {u"x \"C:\\Users\\me\\Desktop\\-notes.txt\"", false, false, false},
      // Quiet alone would open the window silently.
      {u"x /quiet", false, true, true},
      {u"x /restore/quiet", false, false, true},
      {u"x /restore:quiet", false, false, true},
      {u"x --restore", false, false, true},
      {u"x /r", false, false, true},
      {u"x /restore /q", true, false, true},
      {u"x /restored", false, false, true},
      {u"x //restore", false, false, true},
      {u"x /", false, false, true},
      {u"x /ｒestore", false, false, true},
      {u"x \"/re store\"", false, false, true},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const CommandLineRow& row = rows[i];
    SCOPED_TRACE("row " + std::to_string(i));
    const CommandLine parsed = ParseCommandLine(row.line);
    EXPECT_EQ(parsed.restore, row.restore);
    EXPECT_EQ(parsed.quiet, row.quiet);
    EXPECT_EQ(parsed.misused, row.misused);
  }
}

}  // namespace
}  // namespace corvella
