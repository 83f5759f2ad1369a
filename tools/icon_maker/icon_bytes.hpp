// Lays an icon map out as the bytes Windows reads: the icon file, the bare
// image that an icon resource holds, and the one-entry directory of an icon
// group resource. Every image is 32 x 32 with a 256-colour palette.
#pragma once

#include <cstdint>
#include <vector>

#include "icon_maker/icon_map.hpp"

namespace corvella {

inline constexpr std::uint32_t kIconFileHeaderSize = 22;  // the directory and its one entry
inline constexpr std::uint32_t kBitmapHeaderSize = 40;
inline constexpr std::uint32_t kPaletteSize = 256 * 4;
inline constexpr std::uint32_t kColourBitmapSize = kIconSize * kIconSize;
inline constexpr std::uint32_t kMaskSize = kIconSize * kIconSize / 8;
inline constexpr std::uint32_t kIconImageSize = kBitmapHeaderSize + kPaletteSize + kColourBitmapSize + kMaskSize;
inline constexpr std::uint32_t kIconGroupSize = 6 + 14;

// The bitmap header, palette, colour rows and mask rows (both bottom row
// first; in the mask the leftmost pixel is the high bit and 1 is transparent).
std::vector<std::uint8_t> IconImageBytes(const IconMap& map);

// A whole icon file: directory, one entry, the image, then the map's
// trailing zero bytes.
std::vector<std::uint8_t> IconFileBytes(const IconMap& map);

// An icon group resource naming one 32 x 32, 8-bit image by its resource id.
std::vector<std::uint8_t> IconGroupBytes(std::uint16_t image_id);

}  // namespace corvella
