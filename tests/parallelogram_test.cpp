#include <gtest/gtest.h>

#include "arrange/desktop_arrangement.hpp"
#include "arrangement_expectations.hpp"
#include "fake_desktop.hpp"

namespace corvella::testing {
namespace {

class Parallelogram : public ::testing::Test {
 protected:
  void Draw(std::int32_t items, std::int32_t rows) {
    list_ = desktop_.AddShellDesktop(items);
    arrangement_.lngRows = rows;
    arrangement_.MoveIcons2();
  }

  FakeDesktop desktop_;
  DesktopArrangement arrangement_{desktop_};
  WindowHandle list_ = 0;
};

TEST_F(Parallelogram, NoItemsMovesNothing) {
  Draw(0, 8);
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, {}));
}

TEST_F(Parallelogram, OneItemGoesToTheOrigin) {
  Draw(1, 8);
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, {{0, 30, 15}}));
}

TEST_F(Parallelogram, TenItemsInSlantedColumnsOfEight) {
  Draw(10, 8);
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, {{0, 30, 15},
                                                        {1, 50, 75},
                                                        {2, 70, 135},
                                                        {3, 90, 195},
                                                        {4, 110, 255},
                                                        {5, 130, 315},
                                                        {6, 150, 375},
                                                        {7, 170, 435},
                                                        {8, 110, 15},
                                                        {9, 130, 75}}));
}

TEST_F(Parallelogram, ColumnHeightOneMakesOneRow) {
  Draw(4, 1);
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, {{0, 30, 15}, {1, 110, 15}, {2, 190, 15}, {3, 270, 15}}));
}

TEST_F(Parallelogram, ColumnHeightThree) {
  Draw(6, 3);
  EXPECT_EQ(desktop_.messages(),
            CountThenMoves(list_, {{0, 30, 15}, {1, 50, 75}, {2, 70, 135}, {3, 110, 15}, {4, 130, 75}, {5, 150, 135}}));
}

TEST_F(Parallelogram, NegativeColumnHeightGivesNegativeX) {
  Draw(10, -8);
  const auto& messages = desktop_.messages();
  ASSERT_EQ(messages.size(), 12U);
  EXPECT_EQ(messages[10], (SentMessage{list_, list_view::kSetItemPosition, 8, 982990}));
  EXPECT_EQ(messages[11], MoveMessage(list_, {9, -30, 75}));
  EXPECT_EQ(desktop_.Positions(list_)[8], (ItemPosition{-50, 14}));  // x borrowed one from y
}

TEST_F(Parallelogram, ZeroColumnHeightMovesEveryItemToTheLastPosition) {
  list_ = desktop_.AddShellDesktop(30);
  arrangement_.lngRows = 8;
  arrangement_.MoveIcons();  // its last grid item: x = 460, y = 450
  desktop_.ClearMessages();

  arrangement_.lngRows = 0;
  arrangement_.MoveIcons2();

  std::vector<Move> moves;
  for (std::int32_t index = 0; index < 30; ++index) {
    moves.push_back({index, 460, 450});
  }
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, moves));
}

TEST_F(Parallelogram, ZeroColumnHeightAtStartMovesEveryItemToZero) {
  Draw(3, 0);
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
}

TEST_F(Parallelogram, RowsFrom546OnDoNotFit) {
  Draw(600, 600);
  const auto& messages = desktop_.messages();
  ASSERT_EQ(messages.size(), 2U + 546U);
  EXPECT_EQ(messages.back(), MoveMessage(list_, {545, 30 + 20 * 545, 32715}));
  EXPECT_EQ(desktop_.Positions(list_)[546], (ItemPosition{0, 0}));
}

// A view that does not say its icon spacing in time keeps the classic size;
// the taskbar on the left moves the picture right.
TEST_F(Parallelogram, StartsInTheWorkAreaAndKeepsItsSizeWhenTheSpacingTimesOut) {
  list_ = desktop_.AddShellDesktop(10);
  desktop_.SetIconSpacing(list_, 150);
  desktop_.SetWorkAreaOrigin({48, 0});
  desktop_.FailMessage(list_view::kGetItemSpacing);
  DesktopArrangement arrangement{desktop_};
  arrangement.lngRows = 8;
  arrangement.MoveIcons2();

  EXPECT_EQ(desktop_.Positions(list_)[9], (ItemPosition{178, 75}));
  EXPECT_TRUE(arrangement.CutShort());  // the picture went on, but says it got no answer
}

TEST_F(Parallelogram, NoDesktopViewMovesNothing) {
  arrangement_.lngRows = 8;
  arrangement_.MoveIcons2();
  EXPECT_EQ(desktop_.messages(), CountThenMoves(0, {}));
}

}  // namespace
}  // namespace corvella::testing
