// An item's new position as the desktop list view takes it: y * 65536 + x in
// one signed 32-bit value, formed by arithmetic (so a negative x borrows one
// from y's half) and failing with a RuntimeError when it does not fit.
#pragma once

#include <cstdint>

namespace corvella {

// Overflow when y is outside -32768..32767 or the sum leaves the 32-bit range.
std::int32_t PackIconPosition(std::int32_t x, std::int32_t y);

// The heart's points: scaled in double precision, rounded halves to even.
// FloatingPointFault for NaN or infinite intermediate results, Overflow when
// the sum leaves the 32-bit range.
std::int32_t PackScaledIconPosition(float x, float y, float scale_x, float scale_y);

}  // namespace corvella
