#include "iconfiles/resource_file_writer.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/runtime_error.hpp"
#include "host_files.hpp"
#include "iconfiles/heart_icons.hpp"
#include "resource_files.hpp"
#include "scratch_folder.hpp"

namespace corvella::testing {
namespace {

class ResourceFileWriter : public ::testing::Test {
 protected:
  [[nodiscard]] std::vector<std::uint8_t> Heart() { return resources_.Read("HEART", "CUSTOM"); }

  ScratchFolder scratch_;
  HostFileServices files_;
  ResourceFiles resources_{CORVELLA_RESOURCES_DIR};
};

TEST_F(ResourceFileWriter, WritesTheHeartIconByteForByte) {
  WriteResourceFile(files_, resources_, "HEART", scratch_.Windows("Plim1.ico"));

  const auto bytes = scratch_.ReadFile("Plim1.ico");
  ASSERT_EQ(bytes.size(), 2240U);
  EXPECT_EQ(bytes, Heart());
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 6), (std::vector<std::uint8_t>{0, 0, 1, 0, 1, 0}));
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 14, bytes.begin() + 18),
            (std::vector<std::uint8_t>{0xA8, 0x08, 0, 0}));
  EXPECT_EQ(bytes[2238], 0);
  EXPECT_EQ(bytes[2239], 0);
}

TEST_F(ResourceFileWriter, LeavesAnExistingFileOfAnyContentUntouched) {
  for (const std::vector<std::uint8_t>& content : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{42, 43}}) {
    scratch_.WriteFile("Plim1.ico", content);
    WriteResourceFile(files_, resources_, "HEART", scratch_.Windows("plim1.ICO"));
    EXPECT_EQ(scratch_.ReadFile("Plim1.ico"), content);
  }
}

TEST_F(ResourceFileWriter, ASecondCallWithTheSamePathWritesNothing) {
  const std::string path = scratch_.Windows("Plim1.ico");
  WriteResourceFile(files_, resources_, "HEART", path);
  const auto written = std::filesystem::last_write_time(scratch_.Host("Plim1.ico"));
  WriteResourceFile(files_, resources_, "HEART", path);
  EXPECT_EQ(std::filesystem::last_write_time(scratch_.Host("Plim1.ico")), written);
  EXPECT_EQ(scratch_.ReadFile("Plim1.ico"), Heart());
}

TEST_F(ResourceFileWriter, FailuresReachTheCallerAndLeaveNoFile) {
  EXPECT_THROW(WriteResourceFile(files_, resources_, "NOSUCH", scratch_.Windows("a.ico")), RuntimeError);
  EXPECT_FALSE(std::filesystem::exists(scratch_.Host("a.ico")));

  EXPECT_THROW(WriteResourceFile(files_, resources_, "HEART", scratch_.Windows("missing\\a.ico")), RuntimeError);

  std::filesystem::create_directory(scratch_.Host("Plim1.ico"));
  EXPECT_THROW(WriteResourceFile(files_, resources_, "HEART", scratch_.Windows("Plim1.ico")), RuntimeError);
  EXPECT_TRUE(std::filesystem::is_directory(scratch_.Host("Plim1.ico")));

  files_.FillDiskAfter(100);
  EXPECT_THROW(WriteResourceFile(files_, resources_, "HEART", scratch_.Windows("Plim2.ico")), RuntimeError);
  EXPECT_FALSE(std::filesystem::exists(scratch_.Host("Plim2.ico")));
}

TEST(HeartIconPath, NumbersTheFilesInDecimalWithoutPadding) {
  EXPECT_EQ(HeartIconPath("C:\\Users\\a\\Desktop", 1), "C:\\Users\\a\\Desktop\\Plim1.ico");
  EXPECT_THROW(HeartIconPath("", 14), RuntimeError);  // never the root of the current drive
  EXPECT_THROW(HeartIconPath("D", 32768), RuntimeError);
}

}  // namespace
}  // namespace corvella::testing
