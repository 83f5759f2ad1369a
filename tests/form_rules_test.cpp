#include "form/form_rules.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "app/main_window_layout.hpp"

namespace corvella {
namespace {

constexpr int kDpis[] = {96, 120, 144, 168, 192, 240, 288};

const ControlLayout& Control(ControlId id) {
  for (const ControlLayout& control : MainWindowLayout().controls) {
    if (control.id == id) return control;
  }
  throw std::logic_error("no such control");
}

std::vector<const ControlLayout*> ShownControls() {
  std::vector<const ControlLayout*> shown;
  for (const ControlLayout& control : MainWindowLayout().controls) {
    if (control.kind != ControlKind::Timer) shown.push_back(&control);
  }
  return shown;
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

TEST(ControlPixels, FifteenTwipsMakeOnePixelAtNinetySixDpi) {
  EXPECT_EQ(ControlPixels(Control(ControlId::Command1), 96), (PixelRect{6, 46, 155, 31}));
  EXPECT_EQ(ControlPixels(Control(ControlId::Command3), 96), (PixelRect{209, 85, 87, 30}));
  EXPECT_EQ(ControlPixels(Control(ControlId::Command3), 144), (PixelRect{314, 128, 130, 45}));
}

TEST(ControlPixels, TheSpinBoxHalvesMeetAtEveryDpi) {
  for (const int dpi : kDpis) {
    const PixelRect text = ControlPixels(Control(ControlId::Text1), dpi);
    const PixelRect scroll = ControlPixels(Control(ControlId::VScroll1), dpi);
    EXPECT_EQ(text.left + text.width, scroll.left) << dpi << " dpi";
  }
}

TEST(ControlPixels, NoControlsOverlapAndAllFitTheClientAreaAtEveryDpi) {
  const FormLayout& layout = MainWindowLayout();
  const auto shown = ShownControls();
  for (const int dpi : kDpis) {
    const int client_width = TwipsToPixels(layout.client_width, dpi);
    const int client_height = TwipsToPixels(layout.client_height, dpi);
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const PixelRect a = ControlPixels(*shown[i], dpi);
      EXPECT_GT(a.width, 0) << shown[i]->name << " at " << dpi << " dpi";
      EXPECT_GT(a.height, 0) << shown[i]->name << " at " << dpi << " dpi";
      EXPECT_LE(a.left + a.width, client_width) << shown[i]->name << " at " << dpi << " dpi";
      EXPECT_LE(a.top + a.height, client_height) << shown[i]->name << " at " << dpi << " dpi";
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        EXPECT_FALSE(Overlap(a, ControlPixels(*shown[j], dpi)))
            << shown[i]->name << " and " << shown[j]->name << " at " << dpi << " dpi";
      }
    }
  }
}

TEST(LabelRoom, EachLabelMayGrowUpToTheControlBesideItOrTheWindowsEdge) {
  const FormLayout& layout = MainWindowLayout();
  EXPECT_EQ(LabelRoom(layout, Control(ControlId::Label3)), 3120 - 120);   // up to "はい"
  EXPECT_EQ(LabelRoom(layout, Control(ControlId::Label1)), 3435 - 2910);  // up to the text box
  EXPECT_EQ(LabelRoom(layout, Control(ControlId::Label2)), 4680 - 4155);  // up to the edge
  for (const ControlId label : {ControlId::Label1, ControlId::Label2, ControlId::Label3}) {
    EXPECT_GE(LabelRoom(layout, Control(label)), Control(label).width);
  }
}

TEST(CentredOrigin, CentresInTheWorkAreaWhereverItStands) {
  EXPECT_EQ(CentredOrigin({0, 0, 1024, 768}, 324, 160), (PixelPoint{350, 304}));
  // A task bar on the left or at the top moves the work area's corner.
  EXPECT_EQ(CentredOrigin({40, 30, 984, 738}, 324, 160), (PixelPoint{370, 319}));
  // A second monitor left of the first has negative coordinates.
  EXPECT_EQ(CentredOrigin({-1280, 0, 1280, 1024}, 300, 200), (PixelPoint{-790, 412}));
}

TEST(CentredOrigin, AWindowLargerThanTheWorkAreaKeepsItsCaptionOnScreen) {
  EXPECT_EQ(CentredOrigin({40, 30, 300, 200}, 640, 480), (PixelPoint{40, 30}));
  EXPECT_EQ(CentredOrigin({0, 0, 1024, 100}, 300, 160), (PixelPoint{362, 0}));
}

TEST(NextScrollValue, ArrowsAndPagesStepByOneWithinTheRange) {
  EXPECT_EQ(NextScrollValue(ScrollRequest::LineDown, 8, 0, 0, 30), 9);
  EXPECT_EQ(NextScrollValue(ScrollRequest::LineUp, 8, 0, 0, 30), 7);
  EXPECT_EQ(NextScrollValue(ScrollRequest::PageDown, 8, 0, 0, 30), 9);
  EXPECT_EQ(NextScrollValue(ScrollRequest::PageUp, 8, 0, 0, 30), 7);
  EXPECT_EQ(NextScrollValue(ScrollRequest::LineUp, 0, 0, 0, 30), 0);
  EXPECT_EQ(NextScrollValue(ScrollRequest::PageUp, 0, 0, 0, 30), 0);
  EXPECT_EQ(NextScrollValue(ScrollRequest::LineDown, 30, 0, 0, 30), 30);
  EXPECT_EQ(NextScrollValue(ScrollRequest::PageDown, 30, 0, 0, 30), 30);
}

TEST(NextScrollValue, TheThumbAndTheEndsTakeTheirPositionClamped) {
  EXPECT_EQ(NextScrollValue(ScrollRequest::ThumbPosition, 8, 17, 0, 30), 17);
  EXPECT_EQ(NextScrollValue(ScrollRequest::ThumbPosition, 8, -5, 0, 30), 0);
  EXPECT_EQ(NextScrollValue(ScrollRequest::ThumbPosition, 8, 99, 0, 30), 30);
  EXPECT_EQ(NextScrollValue(ScrollRequest::Top, 8, 0, 0, 30), 0);
  EXPECT_EQ(NextScrollValue(ScrollRequest::Bottom, 8, 0, 0, 30), 30);
  EXPECT_EQ(NextScrollValue(ScrollRequest::Other, 8, 20, 0, 30), 8);
}

}  // namespace
}  // namespace corvella
