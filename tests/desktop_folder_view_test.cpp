#include "shell/desktop_folder_view.hpp"

#include <gtest/gtest.h>

#include <functional>

#include "arrange/desktop_arrangement.hpp"
#include "fake_desktop.hpp"

namespace corvella::testing {
namespace {

using Shell = std::function<void(FakeDesktop::FolderViewState&)>;

struct Row {
  const char* what;
  std::int32_t items;
  bool told;
  Shell at_check = {};  // the folder view at the click's read; none: as the list view
  Shell at_moves = {};  // what changes in it before the moves are handed on
  bool times_out = false;
};

void Elsewhere(FakeDesktop::FolderViewState& view, std::int32_t first, std::int32_t end) {
  for (std::int32_t index = first; index < end; ++index) view.elsewhere[index] = WindowPoint{-1, -1};
}

// A heart's click: the read, the check, the list view's moves, the folder
// view told after them; then a second click that would tell it as the first.
TEST(DesktopFolderView, IsToldAClicksMovesOnlyWhenItHoldsTheListViewsItemsWhereItShowsThem) {
  const Row rows[] = {
      {"both views agree", 20, true},
      {"one item, in the heart's first place", 1, true},
      {"no item: nothing to tell", 0, false},
      {"7 of 16 moved through the list view alone", 16, true, [](auto& v) { Elsewhere(v, 0, 7); }},
      {"8 of 16 moved: no more than half agree", 16, false, [](auto& v) { Elsewhere(v, 8, 16); }},
      {"the last 24 of 40 moved: the check spreads", 40, false, [](auto& v) { Elsewhere(v, 16, 40); }},
      {"one item more in the folder view", 20, false, [](auto& v) { v.extra_items = 1; }},
      {"no item in the folder view, as under Wine", 20, false, [](auto& v) { v.extra_items = -20; }},
      {"no folder view", 20, false, [](auto& v) { v.found = false; }},
      {"every call fails", 20, false, [](auto& v) { v.refuses = true; }},
      {"an item came into the folder view alone", 20, false, {}, [](auto& v) { v.extra_items = 1; }},
      {"hangs at the check", 20, false, [](auto& v) { v.hangs = true; }, {}, true},
      {"hangs at the positioning", 20, false, {}, [](auto& v) { v.hangs = true; }, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    FakeDesktop desktop;
    const WindowHandle list = desktop.AddShellDesktop(row.items);
    for (std::int32_t i = 0; i < row.items; ++i) desktop.Items(list)[i] = ListItem{"", 500 + i, 7 * i};
    if (row.at_check) row.at_check(desktop.folder_view);
    DesktopFolderView folder_view(desktop, row.times_out ? 250 : DesktopFolderView::kAnswerWithinMs);
    DesktopArrangement arrangement(desktop);
    arrangement.lngRows = 8;

    folder_view.Check(ViewReader(desktop, desktop.process()).ReadItems(list, row.items));
    arrangement.MoveIcons();
    if (row.at_moves) row.at_moves(desktop.folder_view);
    folder_view.Follow(arrangement.MovesSent(), row.items);
    folder_view.Follow(arrangement.MovesSent(), row.items);

    std::vector<std::vector<ItemMove>> told;
    if (row.told) {
      told.emplace_back();
      for (std::int32_t i = 0; i < row.items; ++i)
        told.back().push_back({i, desktop.Items(list)[i].x, desktop.Items(list)[i].y});
    }
    EXPECT_EQ(desktop.FolderViewPositioned(), told);

    // A later click with both views agreeing: one that did not answer in time is not asked again.
    desktop.folder_view = {};
    folder_view.Check(ViewReader(desktop, desktop.process()).ReadItems(list, row.items));
    folder_view.Follow(arrangement.MovesSent(), row.items);
    EXPECT_EQ(desktop.FolderViewPositioned().size(), told.size() + (!row.times_out && row.items > 0 ? 1 : 0));
  }
}

}  // namespace
}  // namespace corvella::testing
