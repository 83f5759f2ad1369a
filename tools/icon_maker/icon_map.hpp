// A 32 x 32 icon written as text: its palette, which character stands for
// which palette index, and one line of 32 characters per pixel row. The
// program's icons are kept in this form; icon_bytes.hpp turns them into bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace corvella {

inline constexpr int kIconSize = 32;

struct IconMap {
  std::array<std::uint32_t, 256> palette{};                             // 0xRRGGBB; entries not given stay black
  std::array<std::array<std::uint8_t, kIconSize>, kIconSize> pixels{};  // [row][column], top row first
  std::array<std::array<bool, kIconSize>, kIconSize> transparent{};     // mask bit set
  // The directory entry's planes and bit count fields, which some icon files
  // leave at 0 and let the bitmap header alone give the depth.
  std::uint16_t entry_planes = 1;
  std::uint16_t entry_bit_count = 8;
  std::size_t trailing_zeros = 0;  // zero bytes after the icon file
};

class IconMapError : public std::runtime_error {
 public:
  IconMapError(int line, const std::string& what)
      : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}

  [[nodiscard]] int line() const noexcept { return line_; }

 private:
  int line_;
};

// The text holds, in any order before the picture, lines of
//   colour <index> <RRGGBB>
//   key <character> <index> [transparent]
//   entry <planes> <bit count>
//   trailer <zero byte count>
// then the line "picture" and 32 rows of 32 key characters, top row first.
// Lines starting with '#' and blank lines before the picture are skipped.
// Raises IconMapError, naming the line, for anything else.
IconMap ParseIconMap(std::string_view text);

}  // namespace corvella
