// Expected messages for the arrangement tests, written as (index, x, y).
#pragma once

#include <cstdint>
#include <vector>

#include "fake_desktop.hpp"
#include "shell/window_system.hpp"

namespace corvella::testing {

struct Move {
  std::int32_t index;
  std::int32_t x;
  std::int32_t y;
};

inline SentMessage CountMessage(WindowHandle list) { return SentMessage{list, list_view::kGetItemCount, 0, 0}; }

inline SentMessage MoveMessage(WindowHandle list, const Move& move) {
  const auto packed = static_cast<std::int32_t>(std::int64_t{move.y} * 65536 + move.x);
  return SentMessage{list, list_view::kSetItemPosition, static_cast<std::uint32_t>(move.index), packed};
}

// LVM_GETITEMSPACING with wParam FALSE: the icon view's spacing.
inline SentMessage SpacingMessage(WindowHandle list) { return SentMessage{list, list_view::kGetItemSpacing, 0, 0}; }

// An arrangement: the count, the question of the icon spacing, the moves.
inline std::vector<SentMessage> CountThenMoves(WindowHandle list, const std::vector<Move>& moves) {
  std::vector<SentMessage> expected{CountMessage(list), SpacingMessage(list)};
  for (const Move& move : moves) {
    expected.push_back(MoveMessage(list, move));
  }
  return expected;
}

// The fourteen points of the heart's outline, item 0 (the notch) first.
inline std::vector<Move> HeartOutline() {
  return {{0, 200, 100}, {1, 160, 80},  {2, 120, 90},  {3, 80, 120},   {4, 80, 180},   {5, 120, 220}, {6, 160, 250},
          {7, 200, 290}, {8, 240, 250}, {9, 280, 220}, {10, 320, 180}, {11, 320, 120}, {12, 280, 90}, {13, 240, 80}};
}

}  // namespace corvella::testing
