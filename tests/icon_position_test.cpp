#include "arrange/icon_position.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "core/runtime_error.hpp"

namespace corvella {
namespace {

TEST(PackIconPosition, PutsYInTheHighHalfAndXInTheLowHalf) {
  EXPECT_EQ(PackIconPosition(400, 30), 1966480);
  EXPECT_EQ(PackIconPosition(0, 0), 0);
  EXPECT_EQ(PackIconPosition(65535, 32767), 2147483647);
  EXPECT_EQ(PackIconPosition(0, -32768), std::numeric_limits<std::int32_t>::min());
}

TEST(PackIconPosition, LetsANegativeXBorrowFromTheHighHalf) {
  const std::int32_t packed = PackIconPosition(-20, 30);
  EXPECT_EQ(packed, 1966060);
  EXPECT_EQ(packed >> 16, 29);
  EXPECT_EQ(packed & 0xFFFF, 65516);
  EXPECT_EQ(PackIconPosition(-50, 15), 982990);
}

TEST(PackIconPosition, FailsWhenTheValueDoesNotFit) {
  EXPECT_THROW(PackIconPosition(65536, 32767), RuntimeError);
  for (const std::int32_t x : {-65536, -1, 0, 1, 400}) {
    EXPECT_THROW(PackIconPosition(x, 32768), RuntimeError) << x;
  }
  EXPECT_THROW(PackIconPosition(-1, -32768), RuntimeError);
  EXPECT_EQ(PackIconPosition(400, 32730), 2144993680);
}

TEST(PackScaledIconPosition, PacksTheHeartPointsExactlyAtScaleOne) {
  EXPECT_EQ(PackScaledIconPosition(200, 100, 1, 1), 6553800);
  EXPECT_EQ(PackScaledIconPosition(240, 80, 1, 1), 5243120);
  EXPECT_EQ(PackScaledIconPosition(200, 290, 1, 1), 19005640);
}

TEST(PackScaledIconPosition, ScalesInDoublePrecisionAndRoundsHalvesToEven) {
  EXPECT_EQ(PackScaledIconPosition(200, 100, 0.5F, 2), 200 * 65536 + 100);
  EXPECT_EQ(PackScaledIconPosition(5, 0, 0.5F, 1), 2);  // 2.5 rounds to 2
  EXPECT_EQ(PackScaledIconPosition(7, 0, 0.5F, 1), 4);  // 3.5 rounds to 4
}

TEST(PackScaledIconPosition, FailsOnFloatingPointFaultsAndOutOfRangeSums) {
  const float huge = std::numeric_limits<float>::max();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  try {
    PackScaledIconPosition(infinity, 100, 0, 1);  // inf * 0 is an invalid operation
    ADD_FAILURE();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.kind(), RuntimeErrorKind::FloatingPointFault);
  }
  EXPECT_THROW(PackScaledIconPosition(200, nan, 1, 1), RuntimeError);
  EXPECT_THROW(PackScaledIconPosition(infinity, 100, 1, 1), RuntimeError);
  try {
    PackScaledIconPosition(200, huge, 1, huge);  // finite in double, far outside 32 bits
    ADD_FAILURE();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.kind(), RuntimeErrorKind::Overflow);
  }
  try {
    PackScaledIconPosition(200, 32768, 1, 1);
    ADD_FAILURE();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.kind(), RuntimeErrorKind::Overflow);
  }
}

}  // namespace
}  // namespace corvella
