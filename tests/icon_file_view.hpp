// Reads the committed resource files and looks at a 32 x 32, 8-bit icon image
// through the byte layout that Windows reads, independently of the generator
// that wrote it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/little_endian.hpp"

namespace corvella::testing {

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot read " + path);
  }
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> ReadResource(std::string_view name) {
  return ReadBytes(std::string(CORVELLA_RESOURCES_DIR) + "/" + std::string(name));
}

inline std::string ReadResourceText(std::string_view name) {
  const auto bytes = ReadResource(name);
  return {bytes.begin(), bytes.end()};
}

// Little-endian fields; reading past the end is an error, not a crash.
inline std::uint32_t LittleEndianField(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width) {
  if (at + width > bytes.size()) {
    throw std::out_of_range("a field at " + std::to_string(at) + " lies past the end");
  }
  return static_cast<std::uint32_t>(GetLittleEndian(bytes, at, width));
}

inline std::uint32_t Le16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return LittleEndianField(bytes, at, 2);
}

inline std::uint32_t Le32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return LittleEndianField(bytes, at, 4);
}

// An icon image: a 40-byte bitmap header, 256 palette entries, the colour
// rows and then the mask rows, both bottom row first.
class IconImageView {
 public:
  static constexpr std::size_t kPalette = 40;
  static constexpr std::size_t kColours = kPalette + 1024;
  static constexpr std::size_t kMask = kColours + 1024;
  static constexpr std::size_t kSize = kMask + 128;

  explicit IconImageView(std::span<const std::uint8_t> image) : image_(WholeImage(image)) {}

  // Rows and columns count from the top left.
  [[nodiscard]] std::uint8_t Index(int row, int column) const { return image_[kColours + (31 - row) * 32 + column]; }
  [[nodiscard]] bool Transparent(int row, int column) const {
    return ((image_[kMask + (31 - row) * 4 + column / 8] >> (7 - column % 8)) & 1U) != 0;
  }
  // 0xRRGGBB from an entry stored as blue, green, red, 0.
  [[nodiscard]] std::uint32_t Colour(std::uint8_t index) const {
    const auto at = kPalette + 4U * index;
    return image_[at] | (image_[at + 1] << 8U) | (image_[at + 2] << 16U);
  }
  [[nodiscard]] std::uint32_t PixelColour(int row, int column) const { return Colour(Index(row, column)); }
  [[nodiscard]] std::span<const std::uint8_t> bytes() const { return image_; }

 private:
  static std::span<const std::uint8_t> WholeImage(std::span<const std::uint8_t> image) {
    if (image.size() < kSize) {
      throw std::invalid_argument("an icon image needs " + std::to_string(kSize) + " bytes");
    }
    return image.first(kSize);
  }

  std::span<const std::uint8_t> image_;
};

}  // namespace corvella::testing
