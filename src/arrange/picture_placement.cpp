#include "arrange/picture_placement.hpp"

#include <algorithm>

#include "core/resume_next.hpp"
#include "shell/desktop_view.hpp"

namespace corvella {
namespace {

constexpr std::int32_t kClassicSpacing = 75;
constexpr std::int32_t kFewestQuarters = 4;
constexpr std::int32_t kMostQuarters = 20;

}  // namespace

float ScaleForIconSpacing(std::uint32_t spacing) {
  const auto cx = static_cast<std::int32_t>(spacing & 0xFFFFU);
  // cx * 4 / 75 to the nearest integer; 75 being odd, it never ends in a half.
  const std::int32_t quarters = (cx * 8 + kClassicSpacing) / (2 * kClassicSpacing);
  return static_cast<float>(std::clamp(quarters, kFewestQuarters, kMostQuarters)) / 4.0F;
}

PicturePlacement MeasurePicturePlacement(WindowSystem& windows, WindowHandle view) {
  PicturePlacement placement;
  std::int32_t spacing = 0;
  placement.spacing_answered = ResumeNext([&] { spacing = ReadIconSpacing(windows, view); });
  placement.scale = ScaleForIconSpacing(static_cast<std::uint32_t>(spacing));
  WindowPoint work_area;
  ResumeNext([&] { work_area = windows.PrimaryWorkAreaOrigin(); });
  ResumeNext([&] { placement.origin = windows.ScreenToClient(view, work_area); });
  return placement;
}

}  // namespace corvella
