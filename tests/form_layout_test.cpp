#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "app/main_window_layout.hpp"

namespace corvella {
namespace {

struct Row {
  ControlId id;
  std::string_view name;
  ControlKind kind;
  std::u16string_view text;
  int left, top, width, height, tab_index;
  bool enabled;
};

// The window as it opens, control by control, in tab order.
constexpr Row kExpected[] = {
    {ControlId::Command1, "Command1", ControlKind::PushButton, u"ハート型に配置", 90, 690, 2325, 465, 0, false},
    {ControlId::Command2, "Command2", ControlKind::PushButton, u"平行四辺形型に配置", 120, 1260, 2295, 480, 1, false},
    {ControlId::Command3, "Command3", ControlKind::PushButton, u"終了", 3135, 1275, 1305, 450, 2, true},
    {ControlId::Text1, "Text1", ControlKind::TextBox, u"8", 3435, 735, 330, 330, 3, true},
    {ControlId::Label1, "Label1", ControlKind::Label, u"たて", 2910, 810, 330, 180, 4, true},
    {ControlId::Label2, "Label2", ControlKind::Label, u"列", 4155, 825, 180, 180, 5, true},
    {ControlId::VScroll1, "VScroll1", ControlKind::VerticalScrollBar, u"", 3765, 750, 300, 345, 6, true},
    {ControlId::Label3, "Label3", ControlKind::Label, u"アイコンの自動整列を解除しましたか。", 120, 180, 2925, 180, 7,
     true},
    {ControlId::Command4, "Command4", ControlKind::PushButton, u"はい", 3120, 135, 690, 315, 8, true},
    {ControlId::Command5, "Command5", ControlKind::PushButton, u"いいえ", 3885, 135, 735, 315, 9, true},
};

const ControlLayout& Control(ControlId id) {
  const auto& controls = MainWindowLayout().controls;
  return *std::find_if(controls.begin(), controls.end(), [id](const ControlLayout& c) { return c.id == id; });
}

TEST(MainWindowLayout, TheWindowIsForm1WithItsCaptionAndClientArea) {
  const FormLayout& form = MainWindowLayout();
  EXPECT_EQ(form.name, "Form1");
  EXPECT_TRUE(form.caption == u"Corvella");
  EXPECT_EQ(form.client_width, 4680);
  EXPECT_EQ(form.client_height, 1875);
}

TEST(MainWindowLayout, EveryControlStandsWhereAndAsTheWindowShowsIt) {
  const auto& controls = MainWindowLayout().controls;
  ASSERT_EQ(controls.size(), std::size(kExpected) + 1);
  for (std::size_t i = 0; i < std::size(kExpected); ++i) {
    const Row& want = kExpected[i];
    const ControlLayout& got = controls[i];
    SCOPED_TRACE(want.name);
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_TRUE(got.text == want.text) << "caption differs";
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    EXPECT_EQ(got.tab_index, want.tab_index);
    EXPECT_EQ(got.enabled, want.enabled);
    EXPECT_EQ(got.sizes_to_caption, want.kind == ControlKind::Label);
  }
}

TEST(MainWindowLayout, TheSpinnerRunsFromZeroToThirtyAndStartsAtEight) {
  const ControlLayout& spinner = Control(ControlId::VScroll1);
  EXPECT_EQ(spinner.minimum, 0);
  EXPECT_EQ(spinner.maximum, 30);
  EXPECT_EQ(spinner.value, 8);
}

TEST(MainWindowLayout, TheTimerComesLastTakesNoFocusAndIsOffWithHalfASecondInterval) {
  const ControlLayout& timer = MainWindowLayout().controls.back();
  EXPECT_EQ(timer.id, ControlId::Timer1);
  EXPECT_EQ(timer.name, "Timer1");
  EXPECT_EQ(timer.kind, ControlKind::Timer);
  EXPECT_EQ(timer.tab_index, -1);
  EXPECT_FALSE(timer.enabled);
  EXPECT_EQ(timer.interval_ms, 500);
}

TEST(MainWindowLayout, ControlsFitTheClientAreaAndNoneOverlapsAnother) {
  const FormLayout& form = MainWindowLayout();
  std::vector<const ControlLayout*> shown;
  for (const ControlLayout& c : form.controls) {
    if (c.kind != ControlKind::Timer) {
      shown.push_back(&c);
      EXPECT_GE(c.left, 0) << c.name;
      EXPECT_GE(c.top, 0) << c.name;
      EXPECT_LE(c.left + c.width, form.client_width) << c.name;
      EXPECT_LE(c.top + c.height, form.client_height) << c.name;
    }
  }
  for (std::size_t i = 0; i < shown.size(); ++i) {
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      const ControlLayout& a = *shown[i];
      const ControlLayout& b = *shown[j];
      const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left || a.top + a.height <= b.top ||
                         b.top + b.height <= a.top;
      EXPECT_TRUE(apart) << a.name << " overlaps " << b.name;
    }
  }
}

TEST(TwipsToPixels, FifteenTwipsMakeAPixelAt96DpiAndOtherDpisScale) {
  EXPECT_EQ(TwipsToPixels(4680, 96), 312);
  EXPECT_EQ(TwipsToPixels(4680, 120), 390);
  EXPECT_EQ(TwipsToPixels(4680, 192), 624);
  EXPECT_EQ(TwipsToPixels(0, 144), 0);
}

TEST(TwipsToPixels, RoundsToTheNearestPixelAndHalvesAwayFromZero) {
  EXPECT_EQ(TwipsToPixels(7, 96), 0);        // 0.47
  EXPECT_EQ(TwipsToPixels(8, 96), 1);        // 0.53
  EXPECT_EQ(TwipsToPixels(1875, 144), 188);  // 187.5
  EXPECT_EQ(TwipsToPixels(135, 120), 11);    // 11.25
  EXPECT_EQ(TwipsToPixels(-8, 96), -1);
  EXPECT_EQ(TwipsToPixels(-1875, 144), -188);
}

}  // namespace
}  // namespace corvella
