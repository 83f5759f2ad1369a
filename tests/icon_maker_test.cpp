#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "icon_maker/icon_bytes.hpp"
#include "icon_maker/icon_map.hpp"

namespace corvella::testing {
namespace {

// A map whose picture is transparent except for three marked pixels.
std::string CornerMap(const std::string& settings = "") {
  std::string text = "# corners\ncolour 9 123456\nkey . 6 transparent\nkey a 9\n" + settings + "picture\n";
  for (int row = 0; row < 32; ++row) {
    std::string line(32, '.');
    if (row == 0) {
      line[0] = line[8] = 'a';
    }
    if (row == 31) {
      line[31] = 'a';
    }
    text += line + "\r\n";
  }
  return text;
}

TEST(IconMaker, StoresRowsBottomFirstAndTheMaskLeftmostPixelHigh) {
  const auto image = IconImageBytes(ParseIconMap(CornerMap()));
  ASSERT_EQ(image.size(), 2216U);
  EXPECT_EQ(std::vector(image.begin() + 76, image.begin() + 80), (std::vector<std::uint8_t>{0x56, 0x34, 0x12, 0}));
  EXPECT_EQ(image[1064 + 31], 9);       // bottom row, last column
  EXPECT_EQ(image[1064 + 31 * 32], 9);  // top row, first column
  EXPECT_EQ(image[1064 + 31 * 32 + 1], 6);
  EXPECT_EQ(image[2088 + 3], 0xFE);       // bottom row, columns 24 to 31
  EXPECT_EQ(image[2088 + 31 * 4], 0x7F);  // top row, columns 0 to 7
  EXPECT_EQ(image[2088 + 31 * 4 + 1], 0x7F);
  EXPECT_EQ(image[2088 + 31 * 4 + 2], 0xFF);
}

TEST(IconMaker, FileCarriesTheEntryFieldsAndTrailingZerosOfItsMap) {
  const auto plain = IconFileBytes(ParseIconMap(CornerMap()));
  ASSERT_EQ(plain.size(), 2238U);
  EXPECT_EQ(plain[10] | plain[11] << 8, 1);  // planes
  EXPECT_EQ(plain[12] | plain[13] << 8, 8);  // bit count

  const auto odd = IconFileBytes(ParseIconMap(CornerMap("entry 0 0\ntrailer 3\n")));
  ASSERT_EQ(odd.size(), 2241U);
  EXPECT_EQ(odd[10] | odd[11] | odd[12] | odd[13], 0);
  EXPECT_TRUE(std::equal(plain.begin() + 14, plain.end(), odd.begin() + 14));
  EXPECT_EQ(odd[2238] | odd[2239] | odd[2240], 0);
}

TEST(IconMaker, RejectsAFaultyMapNamingTheLine) {
  const auto rows = CornerMap().substr(CornerMap().find("picture"));
  const std::string header = "key . 6 transparent\nkey a 9\n";
  const struct {
    std::string text;
    int line;
  } faults[] = {
      {"key . 6\n", 1},                                                      // no picture
      {header + "key . 7\n" + rows, 3},                                      // a key given twice
      {header + "key ab 7\n" + rows, 3},                                     // a key of two characters
      {header + "colour 256 000000\n" + rows, 3},                            // no such palette entry
      {header + "colour 7 12345G\n" + rows, 3},                              // not hex
      {header + "colour 7 0FFF\n" + rows, 3},                                // too short
      {header + "colour 7 000000\ncolour 7 FFFFFF\n" + rows, 4},             // a colour given twice
      {header + "trailer -1\n" + rows, 3},                                   // not a count
      {header + "size 32\n" + rows, 3},                                      // not a setting
      {header + rows.substr(0, rows.size() - 3) + "\n", 35},                 // a row of 31 pixels
      {header + rows.substr(0, rows.rfind('\n', rows.size() - 2) + 1), 34},  // 31 rows
      {header + rows + "x\n", 36},                                           // text after the picture
      {"key . 6\npicture\n" + std::string(31, '.') + "a\n", 3},              // a character without a key
  };
  for (const auto& fault : faults) {
    try {
      ParseIconMap(fault.text);
      ADD_FAILURE() << "accepted:\n" << fault.text;
    } catch (const IconMapError& error) {
      EXPECT_EQ(error.line(), fault.line) << error.what();
    }
  }
}

}  // namespace
}  // namespace corvella::testing
