#include "app/command_line.hpp"

#include <gtest/gtest.h>

#include <string_view>

namespace corvella {
namespace {

TEST(CommandLine, RestoreAndQuietInEitherFormCaseOrQuotingAndNothingElse) {
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
}

}  // namespace
}  // namespace corvella
