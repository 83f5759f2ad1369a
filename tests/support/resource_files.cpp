#include "resource_files.hpp"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "core/runtime_error.hpp"

namespace corvella {
namespace {

struct ResourceFile {
  std::string_view name;
  std::string_view type;
  std::string_view file;
};

// The custom resources the program carries and the files they are made from.
constexpr std::array kResources{
    ResourceFile{"HEART", "CUSTOM", "heart.ico"},
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

ResourceFiles::ResourceFiles(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::vector<std::uint8_t> ResourceFiles::Read(std::string_view name, std::string_view type) {
  const auto found = std::find_if(kResources.begin(), kResources.end(), [&](const ResourceFile& resource) {
    return SameIgnoringCase(resource.name, name) && SameIgnoringCase(resource.type, type);
  });
  if (found == kResources.end()) {
    throw RuntimeError(RuntimeErrorKind::ServiceFailure,
                       "no resource " + std::string(name) + " of type " + std::string(type));
  }
  const std::filesystem::path path = folder_ / found->file;
  std::error_code error;
  std::ifstream in(path, std::ios::binary);
  if (!std::filesystem::is_regular_file(path, error) || !in) {
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "cannot read resource file " + path.string());
  }
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "cannot read resource file " + path.string());
  }
  return bytes;
}

}  // namespace corvella
