#include "shell/hung_windows.hpp"

#include <gtest/gtest.h>

namespace corvella {
namespace {

TEST(HungWindows, AWindowThatTimedOutGetsNothingForAWhileThenOneMoreTry) {
  HungWindows hung;
  constexpr WindowHandle kShell = 0x10020;
  constexpr WindowHandle kOther = 0x10030;
  EXPECT_TRUE(hung.WorthSending(kShell, 0));

  hung.TimedOut(kShell, 1000);
  EXPECT_FALSE(hung.WorthSending(kShell, 1000));
  EXPECT_FALSE(hung.WorthSending(kShell, 1000 + HungWindows::kGiveUpForMs - 1));
  EXPECT_TRUE(hung.WorthSending(kOther, 1000));
  EXPECT_TRUE(hung.WorthSending(kShell, 1000 + HungWindows::kGiveUpForMs));

  // Timing out again starts the pause anew; an answer ends it at once.
  hung.TimedOut(kShell, 9000);
  EXPECT_FALSE(hung.WorthSending(kShell, 9001));
  hung.Answered(kShell);
  EXPECT_TRUE(hung.WorthSending(kShell, 9001));
}

}  // namespace
}  // namespace corvella
