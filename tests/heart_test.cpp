#include <gtest/gtest.h>

#include "arrange/desktop_arrangement.hpp"
#include "arrangement_expectations.hpp"
#include "fake_desktop.hpp"

namespace corvella::testing {
namespace {

class Heart : public ::testing::Test {
 protected:
  void DrawHeart(std::int32_t items, std::int32_t rows) {
    list_ = desktop_.AddShellDesktop(items);
    arrangement_.lngRows = rows;
    arrangement_.MoveIcons();
  }

  FakeDesktop desktop_;
  DesktopArrangement arrangement_{desktop_};
  WindowHandle list_ = 0;
};

TEST_F(Heart, ThirteenItemsLeaveTheLastPointEmpty) {
  DrawHeart(13, 8);

  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, HeartOutline()));
  const auto positions = desktop_.Positions(list_);
  ASSERT_EQ(positions.size(), 13U);
  EXPECT_EQ(positions[12], (ItemPosition{280, 90}));
  EXPECT_EQ(positions[0], (ItemPosition{200, 100}));
}

TEST_F(Heart, FourteenItemsCompleteTheHeartWithNoGrid) {
  DrawHeart(14, 8);

  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, HeartOutline()));
  EXPECT_EQ(desktop_.Positions(list_)[13], (ItemPosition{240, 80}));
  EXPECT_EQ(arrangement_.lngIndex, 14);
  EXPECT_EQ(arrangement_.sngScaleX, 1.0F);
  EXPECT_EQ(arrangement_.sngScaleY, 1.0F);
}

TEST_F(Heart, ThirtyItemsStackColumnsOfEightToTheRight) {
  DrawHeart(30, 8);

  auto moves = HeartOutline();
  for (std::int32_t j = 0; j < 16; ++j) {
    moves.push_back({14 + j, 400 + 60 * (j / 8), 30 + 60 * (j % 8)});
  }
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, moves));
  EXPECT_EQ(desktop_.Positions(list_)[21], (ItemPosition{400, 450}));
  EXPECT_EQ(desktop_.Positions(list_)[22], (ItemPosition{460, 30}));
  EXPECT_EQ(arrangement_.lngX, 460);
  EXPECT_EQ(arrangement_.lngY, 450);
}

TEST_F(Heart, ColumnHeightOnePutsEveryGridItemInItsOwnColumn) {
  DrawHeart(17, 1);

  auto moves = HeartOutline();
  moves.insert(moves.end(), {{14, 400, 30}, {15, 460, 30}, {16, 520, 30}});
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, moves));
}

TEST_F(Heart, NegativeColumnHeightRunsTheColumnsLeftwards) {
  DrawHeart(30, -8);

  const auto positions = desktop_.Positions(list_);
  for (std::int32_t j = 0; j < 8; ++j) {
    EXPECT_EQ(positions[14 + j], (ItemPosition{400, static_cast<std::int16_t>(30 + 60 * j)}));
    EXPECT_EQ(positions[22 + j], (ItemPosition{340, static_cast<std::int16_t>(30 + 60 * j)}));
  }
}

TEST_F(Heart, ZeroColumnHeightMovesEveryGridItemToTheOrigin) {
  DrawHeart(20, 0);

  auto moves = HeartOutline();
  for (std::int32_t index = 14; index < 20; ++index) {
    moves.push_back({index, 0, 0});
  }
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, moves));
}

TEST_F(Heart, ZeroColumnHeightAfterAParallelogramReusesItsLastPosition) {
  list_ = desktop_.AddShellDesktop(20);
  arrangement_.lngRows = 8;
  arrangement_.MoveIcons2();
  desktop_.ClearMessages();

  arrangement_.lngRows = 0;
  arrangement_.MoveIcons();

  auto moves = HeartOutline();
  for (std::int32_t index = 14; index < 20; ++index) {
    moves.push_back({index, 250, 195});
  }
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, moves));
}

TEST_F(Heart, RowsFrom546OnDoNotFitAndAreNotMoved) {
  DrawHeart(600, 600);

  const auto& messages = desktop_.messages();
  // One count, the spacing, fourteen points, grid items 14 to 559 (rows 0 to 545).
  ASSERT_EQ(messages.size(), 2U + 14U + 546U);
  EXPECT_EQ(messages.back(), MoveMessage(list_, {559, 400, 32730}));
  const auto positions = desktop_.Positions(list_);
  EXPECT_EQ(positions[559], (ItemPosition{400, 32730}));
  EXPECT_EQ(positions[560], (ItemPosition{0, 0}));
  EXPECT_EQ(arrangement_.lngY, 30 + 60 * 585);  // item 599: computed, then refused by the packing
  EXPECT_EQ(arrangement_.lngIndex, 600);
}

TEST_F(Heart, SendsTheHeartEvenWhenNoDesktopViewIsFound) {
  arrangement_.lngRows = 8;
  arrangement_.MoveIcons();

  EXPECT_EQ(arrangement_.lngCount, 0);
  EXPECT_EQ(desktop_.messages(), CountThenMoves(0, HeartOutline()));
}

TEST_F(Heart, RepeatingTheHeartSendsTheSameMessages) {
  DrawHeart(25, 4);
  const auto first = desktop_.messages();
  desktop_.ClearMessages();

  arrangement_.MoveIcons();

  EXPECT_EQ(desktop_.messages(), first);
}

TEST_F(Heart, FindsTheDesktopUnderAWorkerW) {
  list_ = desktop_.AddWorkerWDesktop(16);
  arrangement_.lngRows = 8;
  arrangement_.MoveIcons();

  auto moves = HeartOutline();
  moves.insert(moves.end(), {{14, 400, 30}, {15, 400, 90}});
  EXPECT_EQ(desktop_.messages(), CountThenMoves(list_, moves));
}

}  // namespace
}  // namespace corvella::testing
