#include "app/command_line.hpp"

#include <gtest/gtest.h>

#include <string_view>

namespace corvella {
namespace {

TEST(CommandLine, RestoreAndQuietInEitherFormCaseOrQuotingAndAnyOtherSwitchMisused) {
  EXPECT_FALSE(ParseCommandLine(u"Corvella.exe").restore);
  // A Japanese keyboard's full-width solidus starts a switch too.
  for (std::u16string_view both :
       {u"\"C:\\Program Files\\Corvella.exe\"  /RESTORE\t\"-Quiet\"", u"x ／Restore ／QUIET"}) {
    const CommandLine parsed = ParseCommandLine(both);
    EXPECT_TRUE(parsed.restore && parsed.quiet && !parsed.misused);
  }
  EXPECT_FALSE(ParseCommandLine(u"Corvella.exe /quiet").restore);
  // /quiet is read also on a misused line, whose usage box it silences.
  for (std::u16string_view misused_quietly : {u"x /restore /quiet /x", u"x /quiet", u"x ／x \"-quiet\""}) {
    const CommandLine parsed = ParseCommandLine(misused_quietly);
    EXPECT_TRUE(parsed.misused && parsed.quiet);
  }
  // The program's own path is no switch, even when it looks like one.
  EXPECT_FALSE(ParseCommandLine(u"/restore").restore);
  for (std::u16string_view other : {u"x restore", u"x /restored", u"x /restor", u"x //restore", u"x /", u"x \"\"",
                                    u"x /ｒestore", u"x \"/re store\"", u"x a／restore", u"x ／／restore"}) {
    EXPECT_FALSE(ParseCommandLine(other).restore);
  }
  // Any other switch, or /quiet alone, is misused; a word that is no switch is not.
  for (std::u16string_view misused : {u"x /quiet", u"x /restore/quiet", u"x /restore:quiet", u"x --restore", u"x /r",
                                      u"x /restore /q", u"x /", u"x \"/re store\"", u"x ／", u"x ／restore ／r"}) {
    EXPECT_TRUE(ParseCommandLine(misused).misused);
  }
  for (std::u16string_view fine : {u"x", u"x /RESTORE -quiet", u"x restore \"C:\\a\\-b.txt\" \"\""}) {
    EXPECT_FALSE(ParseCommandLine(fine).misused);
  }
}

}  // namespace
}  // namespace corvella
