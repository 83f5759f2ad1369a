#include "arrange/icon_position.hpp"

#include "core/arithmetic.hpp"

namespace corvella {

std::int32_t PackIconPosition(std::int32_t x, std::int32_t y) { return CheckedAdd(CheckedMul(y, 65536), x); }

std::int32_t PackScaledIconPosition(double x, double y, float scale_x, float scale_y, WindowPoint origin) {
  const double a = CheckedFloat(x * static_cast<double>(scale_x));
  const double b = CheckedFloat(y * static_cast<double>(scale_y));
  return PackIconPosition(CheckedAdd(RoundToInt32(a), origin.x), CheckedAdd(RoundToInt32(b), origin.y));
}

}  // namespace corvella
