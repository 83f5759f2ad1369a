#include "app/command_line.hpp"

#include <gtest/gtest.h>

#include <string_view>

namespace corvella {
namespace {

TEST(CommandLine, RestoreAndQuietInEitherFormCaseOrQuotingAndAnyOtherSwitchMisused) {
  EXPECT_FALSE(ParseCommandLine(u"Corvella.exe").restore);
  const CommandLine both = ParseCommandLine(u"\"C:\\Program Files\\Corvella.exe\"  /RESTORE\t\"-Quiet\"");
  EXPECT_TRUE(both.restore);
  EXPECT_TRUE(both.quiet);
  EXPECT_FALSE(ParseCommandLine(u"Corvella.exe /quiet").restore);
  // The program's own path is no switch, even when it looks like one.
  EXPECT_FALSE(ParseCommandLine(u"/restore").restore);
  for (std::u16string_view other : {u"x restore", u"x /restored", u"x /restor", u"x //restore", u"x /", u"x \"\"",
                                    u"x /ｒestore", u"x \"/re store\""}) {
    EXPECT_FALSE(ParseCommandLine(other).restore);
  }
  // Any other switch, or /quiet alone, is misused; a word that is no switch is not.
  for (std::u16string_view misused : {u"x /quiet", u"x /restore/quiet", u"x /restore:quiet", u"x --restore", u"x /r",
                                      u"x /restore /q", u"x /", u"x \"/re store\""}) {
    EXPECT_TRUE(ParseCommandLine(misused).misused);
  }
  for (std::u16string_view fine : {u"x", u"x /RESTORE -quiet", u"x restore \"C:\\a\\-b.txt\" \"\""}) {
    EXPECT_FALSE(ParseCommandLine(fine).misused);
  }
}

}  // namespace
}  // namespace corvella
