// An item's new position as the desktop list view takes it: y * 65536 + x in
// one signed 32-bit value, formed by arithmetic (so a negative x borrows one
// from y's half) and failing with a RuntimeError when it does not fit.
#pragma once

#include <cstdint>

#include "shell/window_system.hpp"

namespace corvella {

// Overflow when y is outside -32768..32767 or the sum leaves the 32-bit range.
std::int32_t PackIconPosition(std::int32_t x, std::int32_t y);

// A picture's point scaled and moved to its origin: x and y each scaled in
// double precision, rounded to the nearest integer (halves to even) and
// moved, then packed as above. Rounded apart, so that a y ending in a half
// cannot spill into x. FloatingPointFault for NaN or infinite products,
// Overflow for a coordinate outside 32 bits or a value that does not pack.
std::int32_t PackScaledIconPosition(double x, double y, float scale_x, float scale_y, WindowPoint origin = {});

}  // namespace corvella
