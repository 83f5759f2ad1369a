// The parallelogram: every item in columns of lngRows, each item one row
// lower and 20 pixels further right than the one above it.
#include "arrange/desktop_arrangement.hpp"
#include "arrange/icon_position.hpp"
#include "arrange/picture_placement.hpp"
#include "core/arithmetic.hpp"
#include "core/resume_next.hpp"

namespace corvella {
namespace {

constexpr std::int32_t kLeft = 30;
constexpr std::int32_t kTop = 15;
constexpr std::int32_t kColumnPitch = 80;
constexpr std::int32_t kSlantPerRow = 20;
constexpr std::int32_t kRowPitch = 60;

}  // namespace

bool DesktopArrangement::MoveIcons2() {
  moves_sent_.clear();
  cut_short_ = false;
  if (!CountDesktopItems()) {
    return false;
  }
  const PicturePlacement placement = MeasurePicturePlacement(windows_, hWndList);
  cut_short_ = !placement.spacing_answered;

  std::int32_t last = 0;
  if (!ResumeNext([&] { last = CheckedSub(lngCount, 1); })) {
    return true;
  }
  for (lngIndex = 0; lngIndex <= last; ++lngIndex) {
    ResumeNext([&] {
      const std::int32_t column_offset = CheckedMul(IntDiv(lngIndex, lngRows), kColumnPitch);
      const std::int32_t slant = CheckedMul(IntMod(lngIndex, lngRows), kSlantPerRow);
      lngX = CheckedAdd(CheckedAdd(column_offset, slant), kLeft);
    });
    ResumeNext([&] { lngY = CheckedAdd(CheckedMul(IntMod(lngIndex, lngRows), kRowPitch), kTop); });
    ResumeNext([&] {
      SetIconPosition(lngIndex, PackScaledIconPosition(lngX, lngY, placement.scale, placement.scale, placement.origin));
    });
  }
  return true;
}

}  // namespace corvella
