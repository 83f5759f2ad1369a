// Reads the custom resources linked into the running exe.
#pragma once

#include "files/resource_reader.hpp"

namespace corvella {

class Win32ResourceReader final : public ResourceReader {
 public:
  // Names and types are looked up as strings ("HEART", "CUSTOM"); "#30001"
  // names a numeric identifier, as the Win32 calls read it.
  std::vector<std::uint8_t> Read(std::string_view name, std::string_view type) override;
};

}  // namespace corvella
