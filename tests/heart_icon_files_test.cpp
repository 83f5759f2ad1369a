#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/runtime_error.hpp"
#include "iconfiles/heart_icons.hpp"
#include "iconfiles/resource_file_writer.hpp"
#include "resource_files.hpp"

namespace corvella::testing {
namespace {

// File services that record every path they are asked about and refuse it.
class RecordingFiles final : public FileServices {
 public:
  std::string FirstMatchingFile(std::string_view pattern) override { return Refuse(pattern); }
  std::vector<std::string> FindAllFiles(std::string_view pattern) override { Refuse(pattern); }
  std::int16_t FreeFileNumber() override { return 1; }
  void CreateNew(std::int16_t /*file_number*/, std::string_view path) override { Refuse(path); }
  void Write(std::int16_t /*file_number*/, std::span<const std::uint8_t> /*bytes*/) override { Refuse("write"); }
  void Close(std::int16_t /*file_number*/) override { Refuse("close"); }
  std::optional<std::vector<std::uint8_t>> ReadFileOfSize(std::string_view path, std::uint64_t /*size*/) override {
    Refuse(path);
  }
  void Delete(std::string_view path) override { Refuse(path); }
  void Announce(FileChange /*change*/, std::string_view path) override { asked.emplace_back(path); }

  std::vector<std::string> asked;

 private:
  [[noreturn]] std::string Refuse(std::string_view path) {
    asked.emplace_back(path);
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "refused");
  }
};

// A shell that cannot give the desktop folder leaves its path empty; the
// names must then not fall back to the root of the current drive.
TEST(HeartIconFiles, WithoutADesktopPathNoFileIsLookedForWrittenOrDeleted) {
  RecordingFiles files;
  ResourceFiles resources(CORVELLA_RESOURCES_DIR);

  DeleteHeartIcons(files, resources, "");
  EXPECT_THROW(WriteResourceFile(files, resources, kHeartResource, HeartIconPath("", 1)), RuntimeError);

  EXPECT_TRUE(files.asked.empty()) << files.asked.front();
}

}  // namespace
}  // namespace corvella::testing
