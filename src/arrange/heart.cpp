// The heart: fourteen items on a heart's outline, further items stacked in
// columns to its right.
#include <array>

#include "arrange/desktop_arrangement.hpp"
#include "arrange/icon_position.hpp"
#include "arrange/picture_placement.hpp"
#include "core/arithmetic.hpp"
#include "core/resume_next.hpp"

namespace corvella {
namespace {

struct HeartPoint {
  float x;
  float y;
};

// From the notch at the top over the left lobe down to the tip (item 7) and
// back up over the right lobe; items k and 14 - k mirror about x = 200.
constexpr std::array<HeartPoint, 14> kHeartOutline{{
    {200, 100},
    {160, 80},
    {120, 90},
    {80, 120},
    {80, 180},
    {120, 220},
    {160, 250},
    {200, 290},
    {240, 250},
    {280, 220},
    {320, 180},
    {320, 120},
    {280, 90},
    {240, 80},
}};

constexpr std::int32_t kFirstGridItem = 14;
constexpr std::int32_t kGridLeft = 400;
constexpr std::int32_t kGridTop = 30;
constexpr std::int32_t kGridPitch = 60;

}  // namespace

bool DesktopArrangement::MoveIcons() {
  moves_sent_.clear();
  cut_short_ = false;
  if (!CountDesktopItems()) {
    return false;
  }
  const PicturePlacement placement = MeasurePicturePlacement(windows_, hWndList);
  cut_short_ = !placement.spacing_answered;
  ResumeNext([&] { sngScaleX = placement.scale; });
  ResumeNext([&] { sngScaleY = placement.scale; });

  // Sent whatever the count: the view ignores an index it does not hold.
  std::int32_t item = 0;
  for (const HeartPoint& point : kHeartOutline) {
    ResumeNext([&] {
      SetIconPosition(item, PackScaledIconPosition(point.x, point.y, sngScaleX, sngScaleY, placement.origin));
    });
    ++item;
  }

  std::int32_t last = 0;
  if (!ResumeNext([&] { last = CheckedSub(lngCount, 1); })) {
    return true;
  }
  for (lngIndex = kFirstGridItem; lngIndex <= last; ++lngIndex) {
    ResumeNext([&] {
      lngX = CheckedAdd(CheckedMul(IntDiv(CheckedSub(lngIndex, kFirstGridItem), lngRows), kGridPitch), kGridLeft);
    });
    ResumeNext([&] {
      lngY = CheckedAdd(CheckedMul(IntMod(CheckedSub(lngIndex, kFirstGridItem), lngRows), kGridPitch), kGridTop);
    });
    ResumeNext([&] {
      SetIconPosition(lngIndex, PackScaledIconPosition(lngX, lngY, placement.scale, placement.scale, placement.origin));
    });
  }
  return true;
}

}  // namespace corvella
