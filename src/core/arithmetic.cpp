#include "core/arithmetic.hpp"

#include <cmath>
#include <limits>

#include "core/runtime_error.hpp"

namespace corvella {
namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::int32_t NarrowOrOverflow(std::int64_t value) {
  if (value < kInt32Min || value > kInt32Max) {
    throw RuntimeError(RuntimeErrorKind::Overflow, "Overflow");
  }
  return static_cast<std::int32_t>(value);
}

void RejectZeroDivisor(std::int32_t divisor) {
  if (divisor == 0) {
    throw RuntimeError(RuntimeErrorKind::DivisionByZero, "Division by zero");
  }
}

// Rounds halves to even regardless of the current floating-point rounding mode.
double RoundHalfToEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) {
    return floor + 1.0;
  }
  if (fraction < 0.5) {
    return floor;
  }
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

double RoundChecked(double value, double min, double max) {
  if (std::isnan(value)) {
    throw RuntimeError(RuntimeErrorKind::Overflow, "Overflow");
  }
  const double rounded = RoundHalfToEven(value);
  if (rounded < min || rounded > max) {
    throw RuntimeError(RuntimeErrorKind::Overflow, "Overflow");
  }
  return rounded;
}

}  // namespace

std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) { return NarrowOrOverflow(std::int64_t{a} + b); }

std::int32_t CheckedSub(std::int32_t a, std::int32_t b) { return NarrowOrOverflow(std::int64_t{a} - b); }

std::int32_t CheckedMul(std::int32_t a, std::int32_t b) { return NarrowOrOverflow(std::int64_t{a} * b); }

std::int32_t IntDiv(std::int32_t a, std::int32_t b) {
  RejectZeroDivisor(b);
  return NarrowOrOverflow(std::int64_t{a} / b);
}

std::int32_t IntMod(std::int32_t a, std::int32_t b) {
  RejectZeroDivisor(b);
  return static_cast<std::int32_t>(std::int64_t{a} % b);
}

double CheckedFloat(double value) {
  if (!std::isfinite(value)) {
    throw RuntimeError(RuntimeErrorKind::FloatingPointFault, "Floating-point fault");
  }
  return value;
}

std::int32_t RoundToInt32(double value) {
  return static_cast<std::int32_t>(RoundChecked(value, -2147483648.0, 2147483647.0));
}

std::int16_t RoundToInt16(double value) { return static_cast<std::int16_t>(RoundChecked(value, -32768.0, 32767.0)); }

std::int16_t ToInt16(std::int32_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
    throw RuntimeError(RuntimeErrorKind::Overflow, "Overflow");
  }
  return static_cast<std::int16_t>(value);
}

}  // namespace corvella
