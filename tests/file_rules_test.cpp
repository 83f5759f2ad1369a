#include <gtest/gtest.h>

#include <memory>

#include "files/file_numbers.hpp"

namespace corvella {
namespace {

constexpr std::uint32_t kReadOnly = 0x1;
constexpr std::uint32_t kArchive = 0x20;
constexpr std::uint32_t kNormal = 0x80;

TEST(FileEntries, TheNormalFilterPassesOnlyPlainFiles) {
  EXPECT_TRUE(IsNormalFileEntry(kNormal));
  EXPECT_TRUE(IsNormalFileEntry(kArchive));
  EXPECT_TRUE(IsNormalFileEntry(kReadOnly | kArchive));
  EXPECT_FALSE(IsNormalFileEntry(kAttributeHidden | kArchive));
  EXPECT_FALSE(IsNormalFileEntry(kAttributeSystem));
  EXPECT_FALSE(IsNormalFileEntry(kAttributeDirectory));
  EXPECT_FALSE(IsNormalFileEntry(kAttributeDirectory | kArchive));
}

TEST(FileEntries, EveryFileCountsButNoFolder) {
  EXPECT_TRUE(IsFileEntry(kArchive));
  EXPECT_TRUE(IsFileEntry(kAttributeHidden | kAttributeSystem));
  EXPECT_FALSE(IsFileEntry(kAttributeDirectory));
  EXPECT_FALSE(IsFileEntry(kAttributeDirectory | kAttributeHidden));
}

using Table = FileNumberTable<std::unique_ptr<int>>;

void ExpectServiceFailure(const auto& statement) {
  try {
    statement();
    ADD_FAILURE() << "no failure raised";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.kind(), RuntimeErrorKind::ServiceFailure);
  }
}

TEST(FileNumberTable, HandsOutTheLowestNumberThatNoOpenFileUses) {
  Table table;
  EXPECT_EQ(table.FreeNumber(), 1);
  table.Add(1, std::make_unique<int>(10));
  table.Add(2, std::make_unique<int>(20));
  table.Add(4, std::make_unique<int>(40));
  EXPECT_EQ(table.FreeNumber(), 3);
  EXPECT_EQ(*table.Remove(1), 10);
  EXPECT_EQ(table.FreeNumber(), 1);
  EXPECT_EQ(*table.At(2), 20);
}

TEST(FileNumberTable, ANumberInUseOrOutOfRangeTakesNoFile) {
  Table table;
  table.Add(7, std::make_unique<int>(70));
  ExpectServiceFailure([&] { table.Add(7, std::make_unique<int>(71)); });
  EXPECT_EQ(*table.At(7), 70);
  ExpectServiceFailure([&] { table.CheckAvailable(0); });
  ExpectServiceFailure([&] { table.CheckAvailable(256); });
  ExpectServiceFailure([&] { table.CheckAvailable(-1); });
  table.CheckAvailable(255);
}

TEST(FileNumberTable, ANumberThatHoldsNoFileFails) {
  Table table;
  ExpectServiceFailure([&] { table.At(1); });
  ExpectServiceFailure([&] { table.Remove(1); });
  table.Add(1, std::make_unique<int>(1));
  table.Remove(1);
  ExpectServiceFailure([&] { table.Remove(1); });
}

TEST(FileNumberTable, AllNumbersOpenLeavesNoneFree) {
  Table table;
  for (std::int16_t number = 1; number <= 255; ++number) table.Add(number, std::make_unique<int>(number));
  ExpectServiceFailure([&] { static_cast<void>(table.FreeNumber()); });
  table.Remove(200);
  EXPECT_EQ(table.FreeNumber(), 200);
}

}  // namespace
}  // namespace corvella
