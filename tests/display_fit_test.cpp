#include "restore/display_fit.hpp"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "restore/saved_layout.hpp"

namespace corvella {
namespace {

SavedLayout SavedOn(std::int32_t width, std::int32_t height, std::int32_t spacing) {
  return SavedLayout{{2024, 5, 1, 9, 3, 7}, width, height, {}, IconGrid{spacing, spacing, 0, 0}};
}

const SavedLayout kFirstVersion{{2024, 5, 1, 9, 3, 7}, 1280, 1024, {}, std::nullopt};

// Without work areas, one monitor shows the whole view.
ViewDisplay Display(std::int32_t width, std::int32_t height, std::int32_t spacing, WindowPoint origin = {},
                    std::vector<WindowRect> work_areas = {}) {
  if (work_areas.empty()) work_areas.push_back(WindowRect{0, 0, width, height});
  return ViewDisplay{{width, height}, {spacing, spacing}, origin, std::move(work_areas)};
}

struct Fit {
  const char* what;
  SavedLayout saved;
  ViewDisplay current;
  std::vector<WindowPoint> positions;
  std::vector<WindowPoint> expected;
  std::size_t moved_to_fit;
};

TEST(DisplayFit, KeepsEachIconsCellAndBringsTheUnseenOntoTheScreen) {
  const SavedLayout large = SavedOn(1280, 1024, 75);
  const Fit fits[] = {
      {"same display: bit for bit, even off the screen",
       large,
       Display(1280, 1024, 75),
       {{3, 7}, {1279, 1023}, {-40, 5000}},
       {{3, 7}, {1279, 1023}, {-40, 5000}},
       0},
      {"smaller view: the same cells, the cut-off ones to the nearest free cell",
       large,
       Display(1024, 768, 75),
       {{0, 0}, {1200, 0}, {1125, 0}, {1200, 900}, {380, 290}},
       {{0, 0}, {900, 0}, {900, 75}, {900, 675}, {375, 300}},
       3},
      {"larger spacing: cell for cell, a pile stays a pile",
       large,
       Display(1280, 1024, 107),
       {{75, 150}, {75, 150}, {40, 0}, {1125, 0}},
       {{107, 214}, {107, 214}, {107, 0}, {1070, 0}},
       1},
      {"larger spacing: icons apart that meet on one cell, the later to the nearest cell no icon keeps",
       large,
       Display(1280, 1024, 107),
       {{30, 10}, {0, 0}, {75, 150}, {75, 150}, {60, 140}, {0, 75}},
       {{0, 0}, {107, 0}, {107, 214}, {107, 214}, {0, 214}, {0, 107}},
       2},
      {"smaller view: icons apart in one cell share only once every cell is taken",
       large,
       Display(150, 150, 75),
       {{0, 0}, {10, 10}, {20, 20}, {30, 30}, {5, 5}},
       {{0, 0}, {0, 75}, {75, 0}, {75, 75}, {75, 75}},
       4},
      {"origin moved (taskbar to the top): shifted, the bottom row clear of the screen's edge",
       SavedOn(1920, 1080, 75),
       Display(1920, 1080, 75, {0, 40}, {WindowRect{0, 40, 1920, 1080}}),
       {{10, 20}, {0, 975}},
       {{10, 60}, {0, 940}},
       1},
      {"a monitor added 1024 left and 200 above: the main screen's cells, none where no monitor shows",
       SavedOn(1920, 1080, 75),
       Display(2944, 1280, 75, {1024, 200}, {WindowRect{1024, 200, 2944, 1240}, WindowRect{0, 0, 1024, 768}}),
       {{0, 0}, {1800, 975}, {-975, 750}},
       {{1024, 200}, {2824, 1100}, {49, 650}},
       2},
      {"first version: as saved but for those off the screen or under the taskbar, never half on another",
       kFirstVersion,
       Display(800, 600, 75, {0, 0}, {WindowRect{0, 0, 800, 560}}),
       {{13, 17}, {700, 0}, {790, 10}, {0, 500}, {40, 440}, {20, 30}},
       {{13, 17}, {700, 0}, {675, 75}, {150, 450}, {40, 440}, {20, 30}},
       2},
      {"more icons than cells: the rest share the last cells, as few to a cell as possible",
       kFirstVersion,
       Display(150, 150, 75),
       {{1000, 1000}, {1000, 1075}, {1000, 1150}, {1000, 1225}, {1000, 1300}, {1000, 1375}},
       {{75, 75}, {0, 75}, {75, 0}, {0, 0}, {75, 0}, {75, 75}},
       6},
  };
  for (const Fit& fit : fits) {
    const FittedPositions fitted = FitToDisplay(fit.saved, fit.current, fit.positions);
    EXPECT_EQ(fitted.positions, fit.expected) << fit.what;
    EXPECT_EQ(fitted.moved_to_fit, fit.moved_to_fit) << fit.what;
  }
}

}  // namespace
}  // namespace corvella
