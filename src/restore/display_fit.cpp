#include "restore/display_fit.hpp"

#include <algorithm>
#include <iterator>
#include <limits>
#include <map>
#include <tuple>

#include "restore/display_grid.hpp"
#include "restore/saved_layout.hpp"

namespace corvella {
namespace {

using display_grid::Cell;
using display_grid::Coordinate;
using display_grid::Grid;
using display_grid::ToInt32;

// The columns of one row, as runs from a first column to just before an end.
using Runs = std::map<Coordinate, Coordinate>;
using Rows = std::map<Coordinate, Runs>;

void AddRun(Runs& runs, Coordinate first, Coordinate end) {
  auto next = runs.upper_bound(first);
  if (next != runs.begin() && std::prev(next)->second >= first) {
    --next;
    first = next->first;
    end = std::max(end, next->second);
    next = runs.erase(next);
  }
  while (next != runs.end() && next->first <= end) {
    end = std::max(end, next->second);
    next = runs.erase(next);
  }
  runs.emplace(first, end);
}

// The cells wholly seen, and which of them no icon stands nearest to yet,
// kept as runs so that a wide screen costs no more than a narrow one.
class SeenCells {
 public:
  SeenCells(const Grid& grid, std::span<const WindowRect> seen_areas) : grid_(grid) {
    for (const WindowRect& area : seen_areas) {
      const Coordinate first_column = grid.FirstColumnFrom(area.left);
      const Coordinate end_column = grid.EndColumnBefore(area.right);
      const Coordinate end_row = grid.EndRowBefore(area.bottom);
      if (first_column >= end_column) continue;
      for (Coordinate row = grid.FirstRowFrom(area.top); row < end_row; ++row) {
        AddRun(all_[row], first_column, end_column);
      }
    }
    free_ = all_;
  }

  [[nodiscard]] bool Empty() const { return all_.empty(); }

  // Whether the cell was free.
  bool Take(Cell cell) {
    const auto row = free_.find(cell.row);
    if (row == free_.end()) return false;
    Runs& runs = row->second;
    auto run = runs.upper_bound(cell.column);
    if (run == runs.begin() || std::prev(run)->second <= cell.column) return false;
    --run;
    const Coordinate first = run->first;
    const Coordinate end = run->second;
    runs.erase(run);
    if (first < cell.column) runs.emplace(first, cell.column);
    if (cell.column + 1 < end) runs.emplace(cell.column + 1, end);
    if (runs.empty()) free_.erase(row);
    return true;
  }

  // Rows are searched outwards from the point's own until a row lies
  // farther than the best cell found, each with one lookup.
  [[nodiscard]] std::optional<Cell> NearestFreeTo(WindowPoint point) const {
    const Cell target = grid_.Nearest(point);
    Nearest best(point);
    for (auto row = free_.lower_bound(target.row); row != free_.end() && best.MayBeInRow(grid_.Y(row->first)); ++row) {
      ConsiderRow(*row, target.column, best);
    }
    for (auto row = std::make_reverse_iterator(free_.lower_bound(target.row));
         row != free_.rend() && best.MayBeInRow(grid_.Y(row->first)); ++row) {
      ConsiderRow(*row, target.column, best);
    }
    return best.cell;
  }

  // Every cell wholly seen, column by column from the left, each from the top.
  [[nodiscard]] std::vector<Cell> AllInDesktopOrder() const {
    std::vector<Cell> cells;
    for (const auto& [row, runs] : all_) {
      for (const auto& [first, end] : runs) {
        for (Coordinate column = first; column < end; ++column) cells.push_back(Cell{column, row});
      }
    }
    std::ranges::sort(cells);
    return cells;
  }

 private:
  // Squared distances in double: exact on any screen, and no overflow for an
  // icon far off it. Equal distances go to the leftmost, then topmost cell.
  struct Nearest {
    explicit Nearest(WindowPoint target) : point(target) {}

    WindowPoint point;
    std::optional<Cell> cell;
    double distance = std::numeric_limits<double>::infinity();

    [[nodiscard]] bool MayBeInRow(Coordinate y) const {
      const auto dy = static_cast<double>(y - point.y);
      return dy * dy <= distance;
    }
    void Consider(const Grid& grid, Cell candidate) {
      const auto dx = static_cast<double>(grid.X(candidate.column) - point.x);
      const auto dy = static_cast<double>(grid.Y(candidate.row) - point.y);
      const double candidate_distance = dx * dx + dy * dy;
      if (candidate_distance < distance || (candidate_distance == distance && candidate < *cell)) {
        distance = candidate_distance;
        cell = candidate;
      }
    }
  };

  void ConsiderRow(const Rows::value_type& row, Coordinate column, Nearest& best) const {
    const Runs& runs = row.second;
    const auto right = runs.upper_bound(column);
    if (right != runs.begin()) best.Consider(grid_, Cell{std::min(column, std::prev(right)->second - 1), row.first});
    if (right != runs.end()) best.Consider(grid_, Cell{right->first, row.first});
  }

  const Grid& grid_;
  Rows all_;
  Rows free_;
};

std::vector<WindowRect> SeenAreas(const ViewDisplay& current) {
  std::vector<WindowRect> seen;
  for (const WindowRect& area : current.work_areas) {
    const WindowRect part{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, current.client.width),
                          std::min(area.bottom, current.client.height)};
    if (part.left < part.right && part.top < part.bottom) seen.push_back(part);
  }
  return seen;
}

// The first icon in the order given at a place; sorted only once two icons
// meet, so that a layout where none do never pays for it.
class FirstAtPlace {
 public:
  explicit FirstAtPlace(std::span<const WindowPoint> places) : places_(places) {}

  [[nodiscard]] std::size_t operator()(WindowPoint place) {
    if (by_place_.empty()) {
      by_place_.reserve(places_.size());
      for (std::size_t i = 0; i < places_.size(); ++i) by_place_.emplace_back(places_[i].x, places_[i].y, i);
      std::ranges::sort(by_place_);
    }
    return std::get<2>(*std::ranges::lower_bound(by_place_, std::tuple{place.x, place.y, std::size_t{0}}));
  }

 private:
  std::span<const WindowPoint> places_;
  std::vector<std::tuple<std::int32_t, std::int32_t, std::size_t>> by_place_;
};

// saved_places holds where the icons stood when saved if they were mapped
// onto cells, and is empty otherwise. Of mapped icons that meet on one cell,
// the first in the order given keeps it, with any that stood on its very spot.
void BringOntoScreen(const Grid& grid, std::span<const WindowRect> seen_areas, FittedPositions& fitted,
                     std::span<const WindowPoint> saved_places) {
  SeenCells cells(grid, seen_areas);
  if (cells.Empty()) return;
  FirstAtPlace first_at(fitted.positions);
  std::vector<std::size_t> to_move;
  for (std::size_t i = 0; i < fitted.positions.size(); ++i) {
    const WindowPoint position = fitted.positions[i];
    const bool seen =
        std::ranges::any_of(seen_areas, [&](const WindowRect& area) { return grid.WhollyInside(position, area); });
    if (seen) {
      const Cell first = grid.FirstUnder(position);
      const Cell last = grid.LastUnder(position);
      bool was_free = true;
      for (Coordinate column = first.column; column <= last.column; ++column) {
        for (Coordinate row = first.row; row <= last.row; ++row) was_free = cells.Take(Cell{column, row}) && was_free;
      }
      if (was_free || saved_places.empty() || saved_places[i] == saved_places[first_at(position)]) continue;
    }
    to_move.push_back(i);
  }
  std::size_t placed = 0;
  for (; placed < to_move.size(); ++placed) {
    WindowPoint& position = fitted.positions[to_move[placed]];
    const std::optional<Cell> cell = cells.NearestFreeTo(position);
    if (!cell) break;
    cells.Take(*cell);
    position = grid.Corner(*cell);
  }
  // Only reached with fewer cells than icons, so the list stays short.
  if (placed < to_move.size()) {
    const std::vector<Cell> order = cells.AllInDesktopOrder();
    const std::size_t left_over = to_move.size() - placed;
    for (std::size_t k = 0; k < left_over; ++k) {
      const Cell cell = order[order.size() - 1 - (left_over - 1 - k) % order.size()];
      fitted.positions[to_move[placed + k]] = grid.Corner(cell);
    }
  }
  fitted.moved_to_fit = to_move.size();
}

}  // namespace

std::optional<IconGrid> IconGridOf(const ViewDisplay& display) {
  if (display.spacing.width <= 0 || display.spacing.height <= 0) return std::nullopt;
  return IconGrid{display.spacing.width, display.spacing.height, display.work_area_origin.x,
                  display.work_area_origin.y};
}

FittedPositions FitToDisplay(const SavedLayout& saved, const ViewDisplay& current,
                             std::span<const WindowPoint> positions) {
  FittedPositions fitted{std::vector<WindowPoint>(positions.begin(), positions.end()), 0};
  const std::optional<IconGrid> now = IconGridOf(current);
  if (!now) return fitted;
  const bool same_view = saved.view_width == current.client.width && saved.view_height == current.client.height;
  if (same_view && saved.grid == now) return fitted;
  const Grid grid(*now);
  std::span<const WindowPoint> saved_places;
  if (saved.grid) {
    const IconGrid& then = *saved.grid;
    const bool only_origin_moved = same_view && then.spacing_x == now->spacing_x && then.spacing_y == now->spacing_y;
    const Grid saved_grid(then);
    for (WindowPoint& position : fitted.positions) {
      position = only_origin_moved ? WindowPoint{ToInt32(Coordinate{position.x} + now->origin_x - then.origin_x),
                                                 ToInt32(Coordinate{position.y} + now->origin_y - then.origin_y)}
                                   : grid.Corner(saved_grid.Nearest(position));
    }
    if (!only_origin_moved) saved_places = positions;
  }
  BringOntoScreen(grid, SeenAreas(current), fitted, saved_places);
  return fitted;
}

}  // namespace corvella
