#include "restore/item_matching.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvella {
namespace {

SavedLayout Saved(std::vector<SavedItem> items) {
  return SavedLayout{{2024, 1, 1, 0, 0, 0}, 800, 600, std::move(items)};
}

TEST(PlanMoves, PutsEachSurvivorInItsOwnPlaceWhereverItsIndexIsNow) {
  const SavedLayout saved =
      Saved({{"a", 1, 10, 11}, {"b", 1, 20, 21}, {"a", 2, 30, 31}, {"c", 1, 40, 41}, {"gone", 1, 50, 51}});
  const std::vector<std::string> now{"added", "a", "c", "a", "b"};

  const MovePlan plan = PlanMoves(saved, now);
  EXPECT_EQ(plan.moves, (std::vector<ItemMove>{{1, 10, 11}, {2, 40, 41}, {3, 30, 31}, {4, 20, 21}}));
  EXPECT_EQ(plan.skipped, 1U);
}

TEST(PlanMoves, KnowsDuplicatesByTheirOrderAndARenamedItemAsANewOne) {
  const SavedLayout saved = Saved({{"a", 1, 10, 11}, {"a", 2, 20, 21}, {"a", 3, 30, 31}, {"b", 1, 40, 41}});
  const std::vector<std::string> now{"b renamed", "a", "a"};

  const MovePlan plan = PlanMoves(saved, now);
  // The two names left are the first and second "a" now.
  EXPECT_EQ(plan.moves, (std::vector<ItemMove>{{1, 10, 11}, {2, 20, 21}}));
  EXPECT_EQ(plan.skipped, 2U);
}

}  // namespace
}  // namespace corvella
