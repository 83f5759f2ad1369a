// The icon grid as display fit counts on it: cells by column and row, the
// nearest cell to a point and the cells an icon covers, in 64 bits so that
// no sum of two positions overflows.
#pragma once

#include <algorithm>
#include <compare>
#include <cstdint>
#include <limits>

#include "restore/display_fit.hpp"

namespace corvella::display_grid {

// Wide enough for any int32 position less another, and for a cell's corner.
using Coordinate = std::int64_t;

// Cells this far from the origin lie off every screen; the bound keeps a
// corner's product within 64 bits.
constexpr Coordinate kFarthestCell = Coordinate{1} << 31;

inline Coordinate FloorDiv(Coordinate dividend, Coordinate divisor) {
  const Coordinate quotient = dividend / divisor;
  return dividend % divisor != 0 && dividend < 0 ? quotient - 1 : quotient;
}

inline Coordinate CeilDiv(Coordinate dividend, Coordinate divisor) { return -FloorDiv(-dividend, divisor); }

inline std::int32_t ToInt32(Coordinate value) {
  return static_cast<std::int32_t>(std::clamp<Coordinate>(value, std::numeric_limits<std::int32_t>::min(),
                                                          std::numeric_limits<std::int32_t>::max()));
}

// Compared column first, then row: the desktop's own order.
struct Cell {
  Coordinate column = 0;
  Coordinate row = 0;

  auto operator<=>(const Cell&) const = default;
};

class Grid {
 public:
  explicit Grid(const IconGrid& grid)
      : spacing_x_(grid.spacing_x), spacing_y_(grid.spacing_y), origin_x_(grid.origin_x), origin_y_(grid.origin_y) {}

  [[nodiscard]] Cell Nearest(WindowPoint point) const {
    return Cell{NearestStep(point.x - origin_x_, spacing_x_), NearestStep(point.y - origin_y_, spacing_y_)};
  }
  // The first and last cell that an icon at the point covers wholly or in
  // part: the same one on the grid, up to four cells off it.
  [[nodiscard]] Cell FirstUnder(WindowPoint point) const {
    return Cell{FloorDiv(point.x - origin_x_, spacing_x_), FloorDiv(point.y - origin_y_, spacing_y_)};
  }
  [[nodiscard]] Cell LastUnder(WindowPoint point) const {
    return Cell{CeilDiv(point.x - origin_x_, spacing_x_), CeilDiv(point.y - origin_y_, spacing_y_)};
  }
  [[nodiscard]] Coordinate X(Coordinate column) const { return origin_x_ + column * spacing_x_; }
  [[nodiscard]] Coordinate Y(Coordinate row) const { return origin_y_ + row * spacing_y_; }
  [[nodiscard]] WindowPoint Corner(Cell cell) const {
    return WindowPoint{ToInt32(X(cell.column)), ToInt32(Y(cell.row))};
  }

  // The cells that fit wholly between first and end on each axis.
  [[nodiscard]] Coordinate FirstColumnFrom(Coordinate left) const { return CeilDiv(left - origin_x_, spacing_x_); }
  [[nodiscard]] Coordinate EndColumnBefore(Coordinate right) const { return FloorDiv(right - origin_x_, spacing_x_); }
  [[nodiscard]] Coordinate FirstRowFrom(Coordinate top) const { return CeilDiv(top - origin_y_, spacing_y_); }
  [[nodiscard]] Coordinate EndRowBefore(Coordinate bottom) const { return FloorDiv(bottom - origin_y_, spacing_y_); }

  [[nodiscard]] bool WhollyInside(WindowPoint point, const WindowRect& area) const {
    return point.x >= area.left && point.y >= area.top && point.x + spacing_x_ <= area.right &&
           point.y + spacing_y_ <= area.bottom;
  }

 private:
  static Coordinate NearestStep(Coordinate distance, Coordinate spacing) {
    return std::clamp(FloorDiv(2 * distance + spacing, 2 * spacing), -kFarthestCell, kFarthestCell);
  }

  Coordinate spacing_x_;
  Coordinate spacing_y_;
  Coordinate origin_x_;
  Coordinate origin_y_;
};

}  // namespace corvella::display_grid
