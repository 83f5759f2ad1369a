#include <gtest/gtest.h>

#include "arrange/desktop_arrangement.hpp"
#include "arrangement_expectations.hpp"
#include "fake_desktop.hpp"

namespace corvella::testing {
namespace {

TEST(CountDesktopItems, FollowsTheChainFromProgmanToTheListView) {
  FakeDesktop desktop;
  desktop.AddWindow("Shell_TrayWnd");
  const WindowHandle list = desktop.AddShellDesktop(7);
  DesktopArrangement arrangement(desktop);

  arrangement.CountDesktopItems();

  EXPECT_EQ(arrangement.hWndList, list);
  EXPECT_EQ(arrangement.lngCount, 7);
  EXPECT_EQ(desktop.messages(), std::vector<SentMessage>{CountMessage(list)});
}

TEST(CountDesktopItems, LeavesZeroWhenNoDesktopViewExists) {
  FakeDesktop desktop;
  desktop.AddWindow("Notepad");
  DesktopArrangement arrangement(desktop);
  arrangement.lngCount = 9;

  arrangement.CountDesktopItems();
  arrangement.SetIconPosition(0, 0);

  EXPECT_EQ(arrangement.hWndList, 0U);
  EXPECT_EQ(arrangement.lngCount, 0);
  EXPECT_EQ(desktop.messages(), (std::vector<SentMessage>{CountMessage(0), {0, list_view::kSetItemPosition, 0, 0}}));
}

TEST(CountDesktopItems, FindsTheViewUnderAWorkerWWhenProgmanHasNone) {
  FakeDesktop desktop;
  const WindowHandle list = desktop.AddWorkerWDesktop(5);
  DesktopArrangement arrangement(desktop);

  arrangement.CountDesktopItems();

  EXPECT_EQ(arrangement.hWndList, list);
  EXPECT_EQ(arrangement.lngCount, 5);
  EXPECT_EQ(desktop.messages(), std::vector<SentMessage>{CountMessage(list)});
}

TEST(CountDesktopItems, PrefersProgmansViewOverAWorkerWs) {
  FakeDesktop desktop;
  const WindowHandle worker = desktop.AddWindow("WorkerW");
  desktop.MakeListView(desktop.AddWindow("SysListView32", desktop.AddWindow("SHELLDLL_DefView", worker)), 3);
  const WindowHandle list = desktop.AddShellDesktop(4);
  DesktopArrangement arrangement(desktop);

  arrangement.CountDesktopItems();

  EXPECT_EQ(arrangement.hWndList, list);
  EXPECT_EQ(arrangement.lngCount, 4);
}

TEST(CountDesktopItems, FindsATopLevelViewWhenProgmanIsMissing) {
  // Without Progman the next lookups search the top-level windows.
  FakeDesktop desktop;
  const WindowHandle shell_view = desktop.AddWindow("SHELLDLL_DefView");
  const WindowHandle list = desktop.AddWindow("SysListView32", shell_view);
  desktop.MakeListView(list, 2);
  DesktopArrangement arrangement(desktop);

  arrangement.CountDesktopItems();

  EXPECT_EQ(arrangement.hWndList, list);
  EXPECT_EQ(arrangement.lngCount, 2);
}

TEST(CountDesktopItems, CountsAnewEveryTime) {
  FakeDesktop desktop;
  std::int32_t shown = 5;
  const WindowHandle list = desktop.AddShellDesktop(0);
  desktop.SetItemCountSource(list, [&] { return shown; });
  DesktopArrangement arrangement(desktop);

  arrangement.CountDesktopItems();
  shown = 13;
  arrangement.CountDesktopItems();

  EXPECT_EQ(arrangement.lngCount, 13);
  EXPECT_EQ(desktop.messages(), (std::vector<SentMessage>{CountMessage(list), CountMessage(list)}));
}

TEST(CountDesktopItems, GoesOnAfterALookupThatFails) {
  FakeDesktop desktop;
  const WindowHandle list = desktop.AddShellDesktop(6);
  const WindowHandle progman = desktop.FindWindowByClass("progman");
  desktop.FailTopLevelLookups();  // each failing lookup is skipped alone
  DesktopArrangement arrangement(desktop);

  arrangement.CountDesktopItems();
  EXPECT_EQ(arrangement.hWndList, 0U);  // the chain went on from 0 and found no top-level view
  EXPECT_EQ(arrangement.lngCount, 0);

  // A failed step keeps what the variable held: here Progman, left by earlier code.
  arrangement.hWndList = progman;
  arrangement.CountDesktopItems();
  EXPECT_EQ(arrangement.hWndList, list);
  EXPECT_EQ(arrangement.lngCount, 6);
  EXPECT_EQ(desktop.messages(), (std::vector<SentMessage>{CountMessage(0), CountMessage(list)}));
}

TEST(SetIconPosition, AnIndexTheViewDoesNotHoldChangesNothing) {
  FakeDesktop desktop;
  const WindowHandle list = desktop.AddShellDesktop(3);
  DesktopArrangement arrangement(desktop);
  arrangement.CountDesktopItems();

  arrangement.SetIconPosition(3, 1966480);
  arrangement.SetIconPosition(1, 1966480);

  EXPECT_EQ(desktop.Positions(list), (std::vector<ItemPosition>{{0, 0}, {400, 30}, {0, 0}}));
  EXPECT_EQ(desktop.messages().back(), (SentMessage{list, list_view::kSetItemPosition, 1, 1966480}));
}

// What a picture keeps of its moves is what reached the view, where the
// view put each item; a move that failed, or one before this picture, is not.
TEST(MovesSent, AreTheMovesThatReachedTheViewWhereItPutTheItems) {
  struct Case {
    bool heart;
    std::int32_t items;
    std::int32_t rows;
    std::size_t failing_move;  // past the last: none fails
  };
  for (const Case& c : {Case{true, 13, 8, 99}, Case{true, 30, -8, 99}, Case{true, 20, 4, 3}, Case{false, 10, -8, 99},
                        Case{false, 5, 8, 0}}) {
    SCOPED_TRACE(::testing::Message() << (c.heart ? "heart, " : "parallelogram, ") << c.items << " items, rows "
                                      << c.rows << ", failing move " << c.failing_move);
    FakeDesktop desktop;
    const WindowHandle list = desktop.AddShellDesktop(c.items);
    DesktopArrangement arrangement(desktop);
    arrangement.lngRows = c.rows;
    c.heart ? arrangement.MoveIcons2() : arrangement.MoveIcons();
    desktop.ClearMessages();
    desktop.FailMessage(list_view::kSetItemPosition, c.failing_move);

    c.heart ? arrangement.MoveIcons() : arrangement.MoveIcons2();

    std::vector<std::int32_t> reached;
    for (const SentMessage& m : desktop.messages()) {
      if (m.message == list_view::kSetItemPosition) reached.push_back(static_cast<std::int32_t>(m.wparam));
    }
    std::vector<std::int32_t> kept;
    for (const ItemMove& move : arrangement.MovesSent()) {
      kept.push_back(move.index);
      if (move.index < c.items) {
        EXPECT_EQ(desktop.Items(list)[move.index], (ListItem{"", move.x, move.y}));
      }
    }
    EXPECT_EQ(kept, reached);
    EXPECT_EQ(arrangement.CutShort(), c.failing_move != 99);
  }
  // The view reads a negative x as such and lowers y by the one it borrowed.
  FakeDesktop desktop;
  desktop.AddShellDesktop(10);
  DesktopArrangement arrangement(desktop);
  arrangement.lngRows = -8;
  arrangement.MoveIcons2();
  EXPECT_EQ(arrangement.MovesSent()[8], (ItemMove{8, -50, 14}));
}

}  // namespace
}  // namespace corvella::testing
