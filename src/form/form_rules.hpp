// The rules by which the Win32 window turns the layout table into pixels and
// steps its scroll bar, kept apart from the window system so that they can be
// checked on any host.
#pragma once

#include "form/control_layout.hpp"

namespace corvella {

struct PixelRect {
  int left;
  int top;
  int width;
  int height;

  bool operator==(const PixelRect&) const = default;
};

// The control's place in pixels at the given DPI. Edges are converted rather
// than sizes, so that controls that meet in twips meet in pixels and
// controls that do not overlap in twips do not overlap in pixels either.
PixelRect ControlPixels(const ControlLayout& control, int dpi);

// How wide, in twips, a label may grow from its left edge before it runs
// into the next control on its row, or out of the client area.
int LabelRoom(const FormLayout& layout, const ControlLayout& label);

// The top-left corner that centres a window of the given size in the work
// area; a window larger than the work area keeps its top-left corner inside.
struct PixelPoint {
  int x;
  int y;

  bool operator==(const PixelPoint&) const = default;
};
PixelPoint CentredOrigin(const PixelRect& work_area, int window_width, int window_height);

// What the user asked of the scroll bar.
enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, ThumbPosition, Top, Bottom, Other };

// The scroll bar's value after the request: the upper arrow and the page
// above the thumb lower it by one, the lower ones raise it by one, a dropped
// thumb takes its position; always within minimum..maximum.
int NextScrollValue(ScrollRequest request, int value, int thumb_position, int minimum, int maximum);

}  // namespace corvella
