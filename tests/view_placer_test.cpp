#include "shell/view_placer.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "core/runtime_error.hpp"
#include "fake_desktop.hpp"

namespace corvella::testing {
namespace {

constexpr std::uint32_t kSetRedraw = 0x000B;
constexpr std::uint32_t kGetItemCount = 0x1004;
constexpr std::uint32_t kSetItemPosition32 = 0x1031;

class ViewPlacerTest : public ::testing::Test {
 protected:
  // The messages in order, without the buffer addresses they carry.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Sent() const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> sent;
    for (const SentMessage& m : desktop_.messages()) sent.emplace_back(m.message, m.wparam);
    return sent;
  }

  FakeDesktop desktop_{ProcessBitness::Bits64};
  WindowHandle list_ = desktop_.AddShellDesktop(3);
  FakeViewProcess& process_ = desktop_.process();
  ViewPlacer placer_{desktop_, process_};
};

TEST_F(ViewPlacerTest, MovesWithRedrawOffThenRepaintsOnce) {
  const std::vector<ItemMove> moves{{2, 70000, -40000}, {0, -5, 32768}};
  placer_.MoveItems(list_, moves);

  EXPECT_EQ(desktop_.Items(list_), (std::vector<ListItem>{{"", -5, 32768}, {"", 0, 0}, {"", 70000, -40000}}));
  EXPECT_EQ(Sent(), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                        {kSetRedraw, 0}, {kSetItemPosition32, 2}, {kSetItemPosition32, 0}, {kSetRedraw, 1}}));
  EXPECT_EQ(desktop_.repaints(), (std::vector<Repaint>{{list_, 4}}));
  EXPECT_EQ(process_.live_buffers(), 0U);
}

TEST_F(ViewPlacerTest, MovesThousandsOfItemsInChunks) {
  desktop_.Items(list_).resize(1500);
  std::vector<ItemMove> moves;
  for (std::int32_t i = 0; i < 1500; ++i) moves.push_back(ItemMove{i, i * 100, -i});
  placer_.MoveItems(list_, moves);

  for (std::int32_t i = 0; i < 1500; ++i) {
    ASSERT_EQ(desktop_.Items(list_)[static_cast<std::size_t>(i)], (ListItem{"", i * 100, -i}));
  }
}

// A move that timed out may still wait in the view: its buffer goes only
// once the view has answered a later message, and the redraw comes back on
// also when the view answers nothing more, posted.
TEST_F(ViewPlacerTest, SwitchesRedrawBackOnAndKeepsTheBufferAMoveMayStillUse) {
  using Messages = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
  struct Case {
    std::uint32_t message;
    std::size_t after;
    bool view_hangs;
    Messages sent;
    std::size_t buffers_left;
  };
  const Case cases[] = {
      {kSetItemPosition32,
       1,
       false,
       {{kSetRedraw, 0}, {kSetItemPosition32, 0}, {kGetItemCount, 0}, {kSetRedraw, 1}},
       0},
      {kSetRedraw, 0, false, {{kSetRedraw, 1}}, 0},
      {kSetItemPosition32, 1, true, {{kSetRedraw, 0}, {kSetItemPosition32, 0}}, 1},
  };
  for (const Case& c : cases) {
    desktop_.ClearMessages();
    desktop_.FailMessage(c.message, c.after, c.view_hangs);

    EXPECT_THROW(placer_.MoveItems(list_, std::vector<ItemMove>{{0, 1, 1}, {1, 2, 2}}), RuntimeError);
    EXPECT_EQ(Sent(), c.sent);
    EXPECT_EQ(desktop_.posted_messages(),
              (c.view_hangs ? std::vector<SentMessage>{{list_, kSetRedraw, 1, 0}} : std::vector<SentMessage>{}));
    EXPECT_TRUE(desktop_.RedrawOn(list_));
    EXPECT_EQ(desktop_.repaints(), (std::vector<Repaint>{{list_, c.sent.size()}}));
    EXPECT_EQ(process_.live_buffers(), c.buffers_left);
  }
}

}  // namespace
}  // namespace corvella::testing
