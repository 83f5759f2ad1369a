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

// A picture keeps the moves that reached the view, read as the view reads
// them; not a move that failed, nor one of an earlier picture.
TEST(MovesSent, AreTheMovesThatReachedTheViewAsItReadsThem) {
  FakeDesktop desktop;
  desktop.AddShellDesktop(10);
  DesktopArrangement arrangement(desktop);
  arrangement.lngRows = -8;
  arrangement.MoveIcons();
  desktop.FailMessage(list_view::kSetItemPosition, 1);

  arrangement.MoveIcons2();

  const std::vector<ItemMove>& sent = arrangement.MovesSent();
  ASSERT_EQ(sent.size(), 9U);
  EXPECT_EQ(sent[0], (ItemMove{0, 30, 15}));
  EXPECT_EQ(sent[1], (ItemMove{2, 70, 135}));  // item 1's move failed
  EXPECT_EQ(sent[7], (ItemMove{8, -50, 14}));  // a negative x borrows one from y
}

}  // namespace
}  // namespace corvella::testing
