#include "icon_maker/icon_bytes.hpp"

#include "core/little_endian.hpp"

namespace corvella {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) { AppendLittleEndian(out, 2, value); }

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) { AppendLittleEndian(out, 4, value); }

}  // namespace

std::vector<std::uint8_t> IconImageBytes(const IconMap& map) {
  std::vector<std::uint8_t> out;
  out.reserve(kIconImageSize);
  Put32(out, kBitmapHeaderSize);
  Put32(out, kIconSize);
  Put32(out, 2 * kIconSize);  // the colour rows and the mask rows, stacked
  Put16(out, 1);              // planes
  Put16(out, 8);              // bits per pixel
  Put32(out, 0);              // no compression
  Put32(out, kColourBitmapSize + kMaskSize);
  Put32(out, 0);  // resolution
  Put32(out, 0);
  Put32(out, 256);  // colours used
  Put32(out, 0);    // colours important
  for (const auto colour : map.palette) {
    out.push_back(static_cast<std::uint8_t>(colour));        // blue
    out.push_back(static_cast<std::uint8_t>(colour >> 8));   // green
    out.push_back(static_cast<std::uint8_t>(colour >> 16));  // red
    out.push_back(0);
  }
  for (int row = kIconSize - 1; row >= 0; --row) {
    out.insert(out.end(), map.pixels[row].begin(), map.pixels[row].end());
  }
  for (int row = kIconSize - 1; row >= 0; --row) {
    for (int column = 0; column < kIconSize; column += 8) {
      std::uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        if (map.transparent[row][column + bit]) {
          bits |= static_cast<std::uint8_t>(0x80U >> bit);
        }
      }
      out.push_back(bits);
    }
  }
  return out;
}

std::vector<std::uint8_t> IconFileBytes(const IconMap& map) {
  std::vector<std::uint8_t> out;
  out.reserve(kIconFileHeaderSize + kIconImageSize + map.trailing_zeros);
  Put16(out, 0);  // reserved
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, 1);  // one image
  out.push_back(static_cast<std::uint8_t>(kIconSize));
  out.push_back(static_cast<std::uint8_t>(kIconSize));
  out.push_back(0);  // 256 colours and more are written as 0
  out.push_back(0);
  Put16(out, map.entry_planes);
  Put16(out, map.entry_bit_count);
  Put32(out, kIconImageSize);
  Put32(out, kIconFileHeaderSize);
  const auto image = IconImageBytes(map);
  out.insert(out.end(), image.begin(), image.end());
  out.insert(out.end(), map.trailing_zeros, 0);
  return out;
}

std::vector<std::uint8_t> IconGroupBytes(std::uint16_t image_id) {
  std::vector<std::uint8_t> out;
  out.reserve(kIconGroupSize);
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(static_cast<std::uint8_t>(kIconSize));
  out.push_back(static_cast<std::uint8_t>(kIconSize));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);  // planes
  Put16(out, 8);  // bits per pixel
  Put32(out, kIconImageSize);
  Put16(out, image_id);
  return out;
}

}  // namespace corvella
