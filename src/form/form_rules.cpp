#include "form/form_rules.hpp"

#include <algorithm>

namespace corvella {

PixelRect ControlPixels(const ControlLayout& control, int dpi) {
  const int left = TwipsToPixels(control.left, dpi);
  const int top = TwipsToPixels(control.top, dpi);
  const int right = TwipsToPixels(control.left + control.width, dpi);
  const int bottom = TwipsToPixels(control.top + control.height, dpi);
  return {left, top, right - left, bottom - top};
}

int LabelRoom(const FormLayout& layout, const ControlLayout& label) {
  int right = layout.client_width;
  for (const ControlLayout& other : layout.controls) {
    const bool shares_row = other.top < label.top + label.height && label.top < other.top + other.height;
    if (other.kind != ControlKind::Timer && &other != &label && shares_row && other.left >= label.left) {
      right = std::min(right, other.left);
    }
  }
  return right - label.left;
}

PixelPoint CentredOrigin(const PixelRect& work_area, int window_width, int window_height) {
  const int x = work_area.left + std::max(0, (work_area.width - window_width) / 2);
  const int y = work_area.top + std::max(0, (work_area.height - window_height) / 2);
  return {x, y};
}

int NextScrollValue(ScrollRequest request, int value, int thumb_position, int minimum, int maximum) {
  int next = value;
  switch (request) {
    case ScrollRequest::LineUp:
    case ScrollRequest::PageUp:
      next = value - 1;
      break;
    case ScrollRequest::LineDown:
    case ScrollRequest::PageDown:
      next = value + 1;
      break;
    case ScrollRequest::ThumbPosition:
      next = thumb_position;
      break;
    case ScrollRequest::Top:
      next = minimum;
      break;
    case ScrollRequest::Bottom:
      next = maximum;
      break;
    case ScrollRequest::Other:
      break;
  }
  return std::clamp(next, minimum, maximum);
}

}  // namespace corvella
