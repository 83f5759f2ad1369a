#include "shell/view_reader.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/runtime_error.hpp"
#include "fake_desktop.hpp"

namespace corvella::testing {
namespace {

constexpr std::uint32_t kGetItemPosition = 0x1010;
constexpr std::uint32_t kGetItemTextW = 0x1073;

// The desktop and its view's process, one set per case.
struct Scene {
  explicit Scene(ProcessBitness bitness) : desktop(bitness) {}

  void Show(const std::vector<ViewItem>& items) {
    std::vector<ListItem>& shown = desktop.Items(list);
    shown.clear();
    for (const ViewItem& item : items) shown.push_back(ListItem{item.name, item.x, item.y});
  }

  FakeDesktop desktop;
  WindowHandle list = desktop.AddShellDesktop(0);
  FakeViewProcess& process = desktop.process();
  ViewReader reader{desktop, process};
};

class ViewReaderTest : public ::testing::TestWithParam<ProcessBitness> {};

INSTANTIATE_TEST_SUITE_P(Bitness, ViewReaderTest, ::testing::Values(ProcessBitness::Bits32, ProcessBitness::Bits64),
                         [](const auto& info) { return info.param == ProcessBitness::Bits32 ? "Bits32" : "Bits64"; });

TEST_P(ViewReaderTest, ReadsEveryNameAndPositionInIndexOrderAcrossChunks) {
  Scene scene(GetParam());
  std::vector<ViewItem> items{{"ごみ箱", 16, 2}, {"😀 tab\there", -70000, 2147483647}, {"a", -2147483647 - 1, 0}};
  for (std::int32_t i = 0; i < 600; ++i) items.push_back(ViewItem{"item " + std::to_string(i), i * 7, -i});
  scene.Show(items);

  EXPECT_EQ(scene.reader.ReadItems(scene.list, 603), items);
  EXPECT_EQ(scene.process.live_buffers(), 0U);
}

// Only a name that fills the usual room is asked for again, with room for
// the longest; one cut inside a surrogate pair is never taken as it stands.
// An item with no name, or a longer one, is read with the empty name, which
// matches nothing saved.
TEST_P(ViewReaderTest, ReadsNamesUpTo32767UnitsAskingAgainOnlyForTheLongOnes) {
  Scene scene(GetParam());
  std::vector<ViewItem> items{{std::string(1022, 'a'), 1, 2},
                              {std::string(1022, 'b') + "😀", 3, 4},
                              {"short", 5, 6},
                              {std::string(32767, 'c'), 7, 8},
                              {"", 9, 10},
                              {std::string(32768, 'd'), 11, 12}};
  scene.Show(items);
  items.back().name.clear();

  EXPECT_EQ(scene.reader.ReadItems(scene.list, 6), items);
  EXPECT_EQ(std::count_if(scene.desktop.messages().begin(), scene.desktop.messages().end(),
                          [](const SentMessage& m) { return m.message == kGetItemTextW; }),
            9);
  EXPECT_EQ(scene.process.live_buffers(), 0U);
}

// A buffer goes unless a message that may still wait in the view points
// into it: then it stays in the view's process.
TEST_P(ViewReaderTest, RefusesAnyAnswerOutsideItsBufferAndFreesItUnlessAMessageMayWait) {
  struct Fault {
    const char* what;
    std::function<void(Scene&)> setup;
    std::size_t buffers_left = 0;
  };
  const Fault faults[] = {
      {"text pointed elsewhere", [](Scene& s) { s.desktop.PointTextElsewhere(1); }},
      {"buffer reaching past 2 GB", [](Scene& s) { s.process.PlaceBuffersAt(0x7FFFF000); }},
      {"text message failing", [](Scene& s) { s.desktop.FailMessage(kGetItemTextW, 2); }},
      {"position message failing", [](Scene& s) { s.desktop.FailMessage(kGetItemPosition); }},
      {"item gone while read",
       [](Scene& s) { s.desktop.SetItemCountSource(s.list, [calls = 0]() mutable { return ++calls == 1 ? 3 : 2; }); }},
      {"view hanging at a text message", [](Scene& s) { s.desktop.FailMessage(kGetItemTextW, 1, true); }, 1},
  };
  for (const Fault& fault : faults) {
    Scene scene(GetParam());
    scene.Show({{"a", 1, 2}, {"b", 3, 4}, {"c", 5, 6}});
    fault.setup(scene);
    EXPECT_THROW(scene.reader.ReadItems(scene.list, 3), RuntimeError) << fault.what;
    EXPECT_EQ(scene.process.live_buffers(), fault.buffers_left) << fault.what;
  }
}

// The item records as Windows lays out LVITEMW: mask LVIF_TEXT, iItem,
// pszText into the item's own text room, cchTextMax 1024, all else zero.
std::vector<std::uint8_t> Record(std::size_t size, std::size_t text_at, std::vector<std::uint8_t> text_pointer,
                                 std::size_t text_max_at, std::uint8_t item) {
  std::vector<std::uint8_t> bytes(size);
  bytes[0] = 0x01;
  bytes[4] = item;
  std::copy(text_pointer.begin(), text_pointer.end(), bytes.begin() + static_cast<std::ptrdiff_t>(text_at));
  bytes[text_max_at + 1] = 0x04;
  return bytes;
}

TEST(ViewReaderLayout, WritesLvItemWByteForByteForEachBitness) {
  struct Case {
    ProcessBitness bitness;
    std::size_t record_size;
    std::vector<std::uint8_t> second_record;
  };
  // Two items: two records, two points, then 2048 bytes of text room each,
  // in the buffer at 0x00A30000.
  const Case cases[] = {
      {ProcessBitness::Bits32, 60, Record(60, 20, {0x88, 0x08, 0xA3, 0x00}, 24, 1)},
      {ProcessBitness::Bits64, 88, Record(88, 24, {0xC0, 0x08, 0xA3, 0x00, 0, 0, 0, 0}, 32, 1)},
  };
  for (const Case& c : cases) {
    FakeDesktop desktop(c.bitness);
    const WindowHandle list = desktop.AddShellDesktop(2);
    FakeViewProcess& process = desktop.process();
    desktop.Items(list)[0].name = "first";
    desktop.Items(list)[1].name = "second";
    EXPECT_EQ(ViewReader(desktop, process).ReadItems(list, 2),
              (std::vector<ViewItem>{{"first", 0, 0}, {"second", 0, 0}}));

    // The view writes only into the text room and the points.
    const std::vector<std::uint8_t>& buffer = process.last_freed();
    ASSERT_GE(buffer.size(), 2 * c.record_size);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin() + static_cast<std::ptrdiff_t>(c.record_size),
                                        buffer.begin() + static_cast<std::ptrdiff_t>(2 * c.record_size)),
              c.second_record)
        << c.record_size;
  }
}

}  // namespace
}  // namespace corvella::testing
