#include "arrange/icon_position.hpp"

#include "core/arithmetic.hpp"

namespace corvella {

std::int32_t PackIconPosition(std::int32_t x, std::int32_t y) { return CheckedAdd(CheckedMul(y, 65536), x); }

std::int32_t PackScaledIconPosition(float x, float y, float scale_x, float scale_y) {
  const double a = CheckedFloat(static_cast<double>(x) * static_cast<double>(scale_x));
  const double b = CheckedFloat(static_cast<double>(y) * static_cast<double>(scale_y));
  const double s = CheckedFloat(b * 65536.0 + a);
  return RoundToInt32(s);
}

}  // namespace corvella
