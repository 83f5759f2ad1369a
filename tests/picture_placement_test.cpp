#include "arrange/picture_placement.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "arrange/icon_position.hpp"
#include "core/runtime_error.hpp"

namespace corvella {
namespace {

// A picture's point on a view that answered `spacing` (cy * 65536 + cx),
// from a work area whose corner is `origin` in the view: where it lands,
// or nothing when it no longer packs and its item is left where it is.
struct Case {
  std::uint32_t spacing;
  float scale;
  double x;
  double y;
  WindowPoint origin;
  std::optional<WindowPoint> lands;
};

TEST(PicturePlacement, ScalesBySpacingRoundsEachCoordinateAndMovesToTheWorkArea) {
  const Case cases[] = {
      {0, 1, 200, 100, {}, WindowPoint{200, 100}},               // no answer
      {74, 1, 120, 90, {}, WindowPoint{120, 90}},                // a little tighter than classic
      {75 * 65536 + 75, 1, 240, 80, {}, WindowPoint{240, 80}},   // classic: the heart's item 13
      {150 * 65536 + 75, 1, 400, 30, {}, WindowPoint{400, 30}},  // cy does not count
      {91, 1.25F, 120, 90, {}, WindowPoint{150, 112}},           // 112.5: a half to even, x untouched
      {91, 1.25F, 200, 290, {}, WindowPoint{250, 362}},          // the heart's tip
      {91, 1.25F, 130, 75, {}, WindowPoint{162, 94}},            // 162.5 to even, 93.75 up
      {113, 1.5F, 30, 15, {}, WindowPoint{45, 22}},              // 22.5 to even
      {150, 2, 400, 30, {}, WindowPoint{800, 60}},               // the heart's first grid item
      {1000, 5, 200, 100, {}, WindowPoint{1000, 500}},           // at most five times
      {75, 1, 200, 100, {300, 200}, WindowPoint{500, 300}},      // a view starting at (-300, -200)
      {150, 2, 30, 15, {48, 0}, WindowPoint{108, 30}},           // a taskbar on the left
      {91, 1.25F, -50, 15, {}, WindowPoint{-62, 19}},            // a negative column height: -62.5 to even
      {75, 1, 400, 32730, {}, WindowPoint{400, 32730}},          // the last row that fits
      {91, 1.25F, 400, 32730, {}, std::nullopt},                 // which no longer fits when scaled
      {75, 1, 400, 32730, {0, 38}, std::nullopt},                // or moved down
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "spacing " << c.spacing << " point (" << c.x << ", " << c.y << ")");
    const float scale = ScaleForIconSpacing(c.spacing);
    EXPECT_EQ(scale, c.scale);
    if (c.lands) {
      EXPECT_EQ(PackScaledIconPosition(c.x, c.y, scale, scale, c.origin),
                static_cast<std::int32_t>(std::int64_t{c.lands->y} * 65536 + c.lands->x));
    } else {
      EXPECT_THROW(PackScaledIconPosition(c.x, c.y, scale, scale, c.origin), RuntimeError);
    }
  }
}

}  // namespace
}  // namespace corvella
