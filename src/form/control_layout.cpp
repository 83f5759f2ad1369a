#include "form/control_layout.hpp"

#include <algorithm>
#include <cstdint>

namespace corvella {

int TwipsToPixels(int twips, int dpi) {
  // As MulDiv: the exact product, then the quotient rounded half away from zero.
  const std::int64_t product = static_cast<std::int64_t>(twips) * dpi;
  const std::int64_t half = product < 0 ? -720 : 720;
  return static_cast<int>((product + half) / 1440);
}

std::size_t ControlSlots(const FormLayout& layout) {
  std::size_t slots = 0;
  for (const ControlLayout& control : layout.controls) {
    slots = std::max(slots, static_cast<std::size_t>(control.id) + 1);
  }
  return slots;
}

}  // namespace corvella
