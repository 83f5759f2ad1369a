// The program's integer and floating-point rules: signed 32-bit arithmetic
// that raises Overflow instead of wrapping, division that truncates toward
// zero, a remainder with the sign of the dividend, and float-to-integer
// conversion that rounds halves to even.
#pragma once

#include <cstdint>

namespace corvella {

std::int32_t CheckedAdd(std::int32_t a, std::int32_t b);
std::int32_t CheckedSub(std::int32_t a, std::int32_t b);
std::int32_t CheckedMul(std::int32_t a, std::int32_t b);

// a \ b: truncates toward zero; DivisionByZero for b == 0, Overflow for
// INT32_MIN \ -1.
std::int32_t IntDiv(std::int32_t a, std::int32_t b);
// a mod b: the sign of a; DivisionByZero for b == 0.
std::int32_t IntMod(std::int32_t a, std::int32_t b);

// Raises FloatingPointFault when a floating-point operation produced NaN
// (invalid operation) or an infinity (division by zero or overflow).
double CheckedFloat(double value);

// Nearest integer, halves to even; Overflow when outside the target range.
std::int32_t RoundToInt32(double value);
std::int16_t RoundToInt16(double value);

// Narrowing with a range check, as when a 32-bit result is stored in a
// 16-bit variable.
std::int16_t ToInt16(std::int32_t value);

}  // namespace corvella
