#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <utility>

#include "icon_file_view.hpp"
#include "icon_maker/icon_bytes.hpp"
#include "icon_maker/icon_map.hpp"

namespace corvella::testing {
namespace {

// The HEART resource as the resource script embeds it.
class HeartIcon : public ::testing::Test {
 protected:
  [[nodiscard]] IconImageView Image() const { return IconImageView(std::span(bytes_).subspan(22)); }

  // The opaque columns of one row.
  [[nodiscard]] std::set<int> Opaque(int row) const {
    std::set<int> columns;
    for (int column = 0; column < 32; ++column) {
      if (!Image().Transparent(row, column)) {
        columns.insert(column);
      }
    }
    return columns;
  }

  std::vector<std::uint8_t> bytes_ = ReadResource("heart.ico");
};

std::set<int> Columns(int first, int last) {
  std::set<int> columns;
  for (int column = first; column <= last; ++column) {
    columns.insert(column);
  }
  return columns;
}

TEST_F(HeartIcon, IsExactlyWhatTheGeneratorMakesOfItsMap) {
  EXPECT_EQ(IconFileBytes(ParseIconMap(ReadResourceText("heart.map"))), bytes_);
}

TEST_F(HeartIcon, IsAnIconFileOf2238BytesAndTwoTrailingZeros) {
  ASSERT_EQ(bytes_.size(), 2240U);
  const std::vector<std::uint8_t> header{
      0,    0,    1, 0, 1,  0,         // an icon file of one image
      32,   32,   0, 0, 0,  0, 0, 0,   // 32 x 32, colour count 0, planes and bit count left at 0
      0xA8, 0x08, 0, 0, 22, 0, 0, 0};  // 2216 bytes at offset 22
  EXPECT_EQ(std::vector(bytes_.begin(), bytes_.begin() + 22), header);
  EXPECT_EQ(bytes_[2238], 0);
  EXPECT_EQ(bytes_[2239], 0);
}

TEST_F(HeartIcon, BitmapHeaderDescribesA32By32ImageWithStackedMask) {
  const std::array<std::uint32_t, 11> expected{40, 32, 64, 1, 8, 0, 1152, 0, 0, 256, 0};
  const std::array<std::size_t, 11> offsets{22, 26, 30, 34, 36, 38, 42, 46, 50, 54, 58};
  for (std::size_t field = 0; field < offsets.size(); ++field) {
    const auto at = offsets[field];
    const auto value = (at == 34 || at == 36) ? Le16(bytes_, at) : Le32(bytes_, at);
    EXPECT_EQ(value, expected[field]) << "header field at offset " << at;
  }
}

TEST_F(HeartIcon, PaletteHoldsTheSixShadesThenBlack) {
  const std::array<std::uint32_t, 6> shades{0x3FE6FF, 0xD20000, 0xFF0000, 0xFF3F76, 0xFF3FAD, 0xFF3FE3};
  for (int index = 0; index < 256; ++index) {
    const auto expected = index < 6 ? shades[index] : 0U;
    EXPECT_EQ(Image().Colour(static_cast<std::uint8_t>(index)), expected) << "palette entry " << index;
    EXPECT_EQ(bytes_[62 + 4 * index + 3], 0) << "palette entry " << index;
  }
}

TEST_F(HeartIcon, TransparentPixelsAreIndexSixAndOnlyThey) {
  std::map<int, int> counts;
  for (int row = 0; row < 32; ++row) {
    for (int column = 0; column < 32; ++column) {
      const auto index = Image().Index(row, column);
      EXPECT_EQ(Image().Transparent(row, column), index == 6) << "row " << row << ", column " << column;
      ++counts[index];
    }
  }
  EXPECT_EQ(counts, (std::map<int, int>{{1, 33}, {2, 115}, {3, 141}, {4, 150}, {5, 91}, {6, 494}}));
}

TEST_F(HeartIcon, OutlineHasTwoLobesAndNarrowsToATwoPixelPoint) {
  for (int row = 0; row < 4; ++row) {
    EXPECT_TRUE(Opaque(row).empty()) << "row " << row;
  }
  EXPECT_EQ(Opaque(4), (std::set<int>{7, 8, 23, 24}));
  for (int row = 4; row <= 9; ++row) {
    EXPECT_FALSE(Opaque(row).contains(15) || Opaque(row).contains(16)) << "the lobes touch at row " << row;
  }
  for (int row = 10; row <= 16; ++row) {
    EXPECT_EQ(Opaque(row), Columns(1, 30)) << "row " << row;
  }
  for (int row = 17; row <= 29; ++row) {
    const auto opaque = Opaque(row);
    EXPECT_LE(opaque.size(), Opaque(row - 1).size()) << "row " << row << " widens";
    EXPECT_EQ(opaque, Columns(*opaque.begin(), *opaque.rbegin())) << "row " << row << " has a gap";
  }
  EXPECT_LT(Opaque(17).size(), 30U);
  EXPECT_EQ(Opaque(29), (std::set<int>{15, 16}));
  EXPECT_TRUE(Opaque(30).empty());
  EXPECT_TRUE(Opaque(31).empty());
}

TEST_F(HeartIcon, ShadesRunDiagonallyFromUpperLeftToLowerRight) {
  std::map<int, std::pair<double, int>> diagonal;  // index -> (sum of row + column, pixels)
  for (int row = 0; row < 32; ++row) {
    for (int column = 0; column < 32; ++column) {
      auto& [sum, pixels] = diagonal[Image().Index(row, column)];
      sum += row + column;
      ++pixels;
    }
  }
  // Magenta pink 5, pink 4, rose 3, red 2, dark red 1.
  for (int index = 5; index > 1; --index) {
    EXPECT_LT(diagonal[index].first / diagonal[index].second, diagonal[index - 1].first / diagonal[index - 1].second)
        << "index " << index;
  }
  for (int row = 11; row <= 29; ++row) {
    const auto right_edge = Image().Index(row, *Opaque(row).rbegin());
    EXPECT_TRUE(right_edge == 1 || right_edge == 2) << "row " << row;
  }
}

TEST_F(HeartIcon, NeighbouringShadesInterleavePixelByPixelWhereTheyMeet) {
  for (int shade = 5; shade > 2; --shade) {
    bool interleaved = false;
    for (int row = 0; row < 32; ++row) {
      for (int column = 0; column + 3 < 32; ++column) {
        const std::array<int, 4> run{Image().Index(row, column), Image().Index(row, column + 1),
                                     Image().Index(row, column + 2), Image().Index(row, column + 3)};
        interleaved = interleaved || run == std::array{shade, shade - 1, shade, shade - 1};
      }
    }
    EXPECT_TRUE(interleaved) << "shades " << shade << " and " << shade - 1;
  }
}

}  // namespace
}  // namespace corvella::testing
