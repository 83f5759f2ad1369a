#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "icon_file_view.hpp"
#include "icon_maker/icon_bytes.hpp"
#include "icon_maker/icon_map.hpp"

namespace corvella::testing {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kDarkRed = 0xD20000;

// The program's own icon: the raw image of icon 30001, its group 1, and the
// icon file that shows the same image.
class ProgramIcon : public ::testing::Test {
 protected:
  std::vector<std::uint8_t> image_ = ReadResource("corvella_icon_image.bin");
  std::vector<std::uint8_t> group_ = ReadResource("corvella_icon_group.bin");
  std::vector<std::uint8_t> file_ = ReadResource("corvella.ico");
  std::vector<std::uint8_t> heart_ = ReadResource("heart.ico");
  IconImageView icon_{image_};
  IconImageView heart_icon_{std::span(heart_).subspan(22)};
};

TEST_F(ProgramIcon, IsExactlyWhatTheGeneratorMakesOfItsMap) {
  const auto map = ParseIconMap(ReadResourceText("program_icon.map"));
  EXPECT_EQ(IconImageBytes(map), image_);
  EXPECT_EQ(IconFileBytes(map), file_);
  EXPECT_EQ(IconGroupBytes(30001), group_);
}

TEST_F(ProgramIcon, GroupOneNamesImage30001Of2216Bytes) {
  EXPECT_EQ(group_, (std::vector<std::uint8_t>{0,    0,    1, 0, 1, 0,        // icons, one entry
                                               32,   32,   0, 0, 1, 0, 8, 0,  // 32 x 32, one plane, 8 bits per pixel
                                               0xA8, 0x08, 0, 0,              // 2216 bytes
                                               0x31, 0x75}));                 // image 30001
  EXPECT_EQ(image_.size(), 2216U);
}

TEST_F(ProgramIcon, IconFileShowsTheSameImage) {
  ASSERT_EQ(file_.size(), 22U + 2216U);
  EXPECT_TRUE(std::equal(image_.begin(), image_.end(), file_.begin() + 22));
}

TEST_F(ProgramIcon, HasTheHeartsHeaderAndMask) {
  EXPECT_TRUE(std::equal(heart_.begin() + 22, heart_.begin() + 62, image_.begin()));
  EXPECT_TRUE(std::equal(heart_.begin() + 2110, heart_.begin() + 2238, image_.begin() + IconImageView::kMask));
  for (int row = 0; row < 32; ++row) {
    for (int column = 0; column < 32; ++column) {
      EXPECT_EQ(icon_.Index(row, column) == 6, icon_.Transparent(row, column)) << row << ", " << column;
    }
  }
}

TEST_F(ProgramIcon, IsTheHeartOutsideRowsElevenToTwentyOne) {
  for (int row = 0; row < 32; ++row) {
    if (row >= 11 && row <= 21) {
      continue;
    }
    for (int column = 0; column < 32; ++column) {
      EXPECT_EQ(icon_.PixelColour(row, column), heart_icon_.PixelColour(row, column)) << row << ", " << column;
    }
  }
}

TEST_F(ProgramIcon, AGreyOutlinedWhiteEnvelopeWithDarkRedLettersCoversRowsElevenToTwentyOne) {
  std::set<std::uint32_t> colours;
  for (int row = 11; row <= 21; ++row) {
    std::set<std::uint32_t> row_colours;
    for (int column = 0; column < 32; ++column) {
      if (icon_.PixelColour(row, column) != heart_icon_.PixelColour(row, column)) {
        row_colours.insert(icon_.PixelColour(row, column));
      }
    }
    EXPECT_FALSE(row_colours.empty()) << "row " << row << " is not covered";
    colours.insert(row_colours.begin(), row_colours.end());
  }
  EXPECT_TRUE(colours.contains(kWhite));
  EXPECT_TRUE(colours.contains(kDarkRed));
  EXPECT_TRUE(std::any_of(colours.begin(), colours.end(), [](std::uint32_t colour) {
    const auto red = colour >> 16;
    return colour != kWhite && colour != 0 && red == ((colour >> 8) & 0xFF) && red == (colour & 0xFF);
  })) << "no grey";
}

}  // namespace
}  // namespace corvella::testing
