// A fresh folder under the system's temporary folder for one test, removed
// with everything in it afterwards; paths to it in the program's own form
// (backslash separators) and in the host's.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace corvella::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "corvella-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) {
      throw std::runtime_error("cannot make a scratch folder");
    }
    path_ = name;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  // name inside the folder, as the program writes paths: "<folder>\name".
  [[nodiscard]] std::string Windows(std::string_view name) const { return path_.string() + "\\" + std::string(name); }
  [[nodiscard]] std::filesystem::path Host(std::string_view name) const { return path_ / name; }

  void WriteFile(std::string_view name, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(Host(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  [[nodiscard]] std::vector<std::uint8_t> ReadFile(std::string_view name) const {
    std::ifstream in(Host(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  std::filesystem::path path_;
};

}  // namespace corvella::testing
