// Fitting 2,000 saved icons to another display: from a view four times as
// wide onto a smaller one with bigger icons, most icons off the screen at
// first, onto one with fewer cells than icons, and with icons laid out by
// hand closer than a cell, most of which then meet another on its cell.
#include <benchmark/benchmark.h>

#include <vector>

#include "restore/display_fit.hpp"
#include "restore/saved_layout.hpp"

namespace corvella {
namespace {

constexpr std::int32_t kIcons = 2'000;

std::vector<WindowPoint> SpreadIcons(std::int32_t step) {
  std::vector<WindowPoint> positions;
  for (std::int32_t i = 0; i < kIcons; ++i) positions.push_back(WindowPoint{(i % 100) * step, (i / 100) * step});
  return positions;
}

void Fit(benchmark::State& state, std::int32_t width, std::int32_t height, std::int32_t spacing,
         std::int32_t step = 75) {
  const SavedLayout saved{{2024, 5, 1, 9, 3, 7}, 7680, 4320, {}, IconGrid{75, 75, 0, 0}};
  const ViewDisplay current{{width, height}, {spacing, spacing}, {0, 0}, {WindowRect{0, 0, width, height - 40}}};
  const std::vector<WindowPoint> positions = SpreadIcons(step);
  for (auto _ : state) benchmark::DoNotOptimize(FitToDisplay(saved, current, positions));
  state.SetItemsProcessed(state.iterations() * kIcons);
}

void BM_FitOntoSmallerView(benchmark::State& state) { Fit(state, 5120, 2880, 80); }
void BM_FitOntoTooFewCells(benchmark::State& state) { Fit(state, 1920, 1080, 107); }
void BM_FitCrowdedIcons(benchmark::State& state) { Fit(state, 5120, 2880, 80, 25); }

BENCHMARK(BM_FitOntoSmallerView)->Name("FitToDisplay/2000/smaller");
BENCHMARK(BM_FitOntoTooFewCells)->Name("FitToDisplay/2000/too-few-cells");
BENCHMARK(BM_FitCrowdedIcons)->Name("FitToDisplay/2000/crowded");

}  // namespace
}  // namespace corvella
