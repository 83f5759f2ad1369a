// Unsigned integers of 2, 4 or 8 bytes in the little-endian order of
// Windows' structures and files, put into, appended to and taken from byte
// buffers. The caller keeps offset + width within the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace corvella {

inline void PutLittleEndian(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t width, std::uint64_t value) {
  for (std::size_t i = 0; i < width; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint64_t GetLittleEndian(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value |= static_cast<std::uint64_t>(bytes[offset + i]) << (8 * i);
  return value;
}

inline void AppendLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t width, std::uint64_t value) {
  for (std::size_t i = 0; i < width; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace corvella
