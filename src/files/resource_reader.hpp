// Reads the program's own custom resources.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace corvella {

class ResourceReader {
 public:
  virtual ~ResourceReader() = default;

  // The bytes of the resource with that name and type ("CUSTOM"); raises a
  // RuntimeError when there is none.
  virtual std::vector<std::uint8_t> Read(std::string_view name, std::string_view type) = 0;
};

}  // namespace corvella
