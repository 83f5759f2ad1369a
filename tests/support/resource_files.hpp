// The program's custom resources read from files in a folder (the project's
// resources/), so that its logic runs without the resources linked into a
// Windows executable.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "files/resource_reader.hpp"

namespace corvella {

class ResourceFiles final : public ResourceReader {
 public:
  explicit ResourceFiles(std::filesystem::path folder);

  // ("HEART", "CUSTOM") is heart.ico in the folder; names and types compare
  // without regard to case. An unknown resource or a file that cannot be
  // read raises a RuntimeError.
  std::vector<std::uint8_t> Read(std::string_view name, std::string_view type) override;

 private:
  std::filesystem::path folder_;
};

}  // namespace corvella
