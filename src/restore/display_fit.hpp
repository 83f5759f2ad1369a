// Fits a saved layout to the display it is restored on. On the display it
// was saved on every icon goes back bit for bit; on another one each icon
// keeps its cell of the icon grid, and an icon the user could not see there
// is brought onto the screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "shell/view_display.hpp"
#include "shell/window_system.hpp"

namespace corvella {

// The saved file (saved_layout.hpp), which records the grid it was saved on.
struct SavedLayout;

// The desktop's icon grid: the view's icon spacing (always positive) and
// the grid's first corner, the main screen's work-area corner in the view's
// coordinates.
struct IconGrid {
  std::int32_t spacing_x = 0;
  std::int32_t spacing_y = 0;
  std::int32_t origin_x = 0;
  std::int32_t origin_y = 0;

  bool operator==(const IconGrid&) const = default;
};

struct FittedPositions {
  std::vector<WindowPoint> positions;  // in the order given
  std::size_t moved_to_fit = 0;        // icons brought onto the screen or off a taken cell
};

// The view's icon grid as measured; none when the view gave no spacing.
std::optional<IconGrid> IconGridOf(const ViewDisplay& display);

// An icon at (x, y) takes the cell from (x, y) to (x + spacing x, y + spacing y),
// the right and bottom edges excluded: its picture, its label and the gap
// to the next. The user sees it wholly when that cell lies inside the view's
// client area and inside the work area of one monitor.
//
// The positions are those of the saved layout's items to be put back; the
// layout tells the display it was saved on: the view's size and, from the
// second version of its file on, the grid. The same size and grid put them
// back bit for bit, seen or not. Without a grid they stand as saved; another
// display maps them:
// - only the grid's origin moved: each position moves with it, so that the
//   icon keeps its place on the screen;
// - the view's size or the spacing changed: the nearest cell of the saved
//   grid (halves rounding right and down) becomes the same cell of the
//   current grid, the icon at its corner, one cell to an icon as the
//   desktop's own grid has it: of icons that stood apart and now meet on one
//   cell, the first in the order given keeps it, with any that stood on its
//   very spot (a pile stays a pile).
// Wherever the icons then stand, one the user cannot wholly see, or one that
// lost its cell, goes to the nearest free cell of the current grid that is
// wholly seen, one after another in the order given; a cell is free while no
// icon covers any part of it. Only with too few such cells do the icons left
// over share the last cells, column by column from the left and each from
// the top, as few to a cell as possible. Without any such cell, or without a
// current spacing, nothing moves to fit.
FittedPositions FitToDisplay(const SavedLayout& saved, const ViewDisplay& current,
                             std::span<const WindowPoint> positions);

}  // namespace corvella
