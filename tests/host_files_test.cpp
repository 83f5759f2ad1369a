#include "host_files.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/runtime_error.hpp"
#include "scratch_folder.hpp"

namespace corvella {
namespace {

using testing::ScratchFolder;
using Names = std::vector<std::string>;

// Bytes from 0 to 255 over and over, zero bytes included.
std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 7);
  }
  return bytes;
}

template <typename Statement>
bool FailsAsService(Statement&& statement) {
  try {
    statement();
  } catch (const RuntimeError& error) {
    return error.kind() == RuntimeErrorKind::ServiceFailure;
  }
  return false;
}

class HostFiles : public ::testing::Test {
 protected:
  void Touch(const std::string& name, std::size_t size = 3) { folder_.WriteFile(name, Pattern(size)); }

  // Creates, writes and closes one file the way the program does.
  void WriteNew(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::int16_t number = files_.FreeFileNumber();
    files_.CreateNew(number, folder_.Windows(name));
    files_.Write(number, bytes);
    files_.Close(number);
  }

  ScratchFolder folder_;
  HostFileServices files_;
};

TEST_F(HostFiles, WildcardsMatchTheLastPartWithoutRegardToCaseInNameOrder) {
  for (const char* name :
       {"Plim1.ico", "plim2.ICO", "Plim10.ico", "Plim1.bmp", "xPlim3.ico", "Plimあ.ico", "Plim.ico"}) {
    Touch(name);
  }
  std::filesystem::create_directory(folder_.Host("Plim4.ico"));

  EXPECT_EQ(files_.FindAllFiles(folder_.Windows("Plim*.ico")),
            (Names{"Plim.ico", "Plim1.ico", "Plim10.ico", "plim2.ICO", "Plimあ.ico"}));
  EXPECT_EQ(files_.FindAllFiles(folder_.Windows("PLIM?.ico")), (Names{"Plim1.ico", "plim2.ICO", "Plimあ.ico"}));
  EXPECT_EQ(files_.FindAllFiles(folder_.Windows("*")).size(), 7U);  // the folder is not among them
  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("Plim*.ico")), "Plim.ico");
  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("*.bmp")), "Plim1.bmp");
}

TEST_F(HostFiles, ASearchForOneNameFindsItInAnyCaseAndGivesItsOwnName) {
  Touch("Plim1.ico");
  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("PLIM1.ICO")), "Plim1.ico");
  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("Plim2.ico")), "");
  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("missing\\Plim1.ico")), "");
  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("")), "");
  EXPECT_TRUE(FailsAsService([&] { files_.FirstMatchingFile(folder_.Windows("P*\\Plim1.ico")); }));
  EXPECT_TRUE(FailsAsService([&] { files_.FindAllFiles(folder_.Windows("?\\*.ico")); }));
}

// Names are bytes on the host: one that is not UTF-8 finds itself, but an
// overlong form neither spells a letter nor a wildcard.
TEST_F(HostFiles, OnlyWellFormedUtf8SpellsALetterOrAWildcard) {
  Touch("Plim1.ico");
  Touch("x\xC1\x81");  // "xA" with the 'A' written overlong

  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("x\xC1\x81")), "x\xC1\x81");
  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("xa")), "");
  EXPECT_EQ(files_.FindAllFiles(folder_.Windows("\xC0\xAA")), Names{});          // an overlong '*'
  EXPECT_EQ(files_.FindAllFiles(folder_.Windows("Plim\xC0\xBF.ico")), Names{});  // an overlong '?'
  EXPECT_EQ(files_.FindAllFiles(folder_.Windows("x??")), Names{"x\xC1\x81"});    // one byte per '?'
}

TEST_F(HostFiles, TheFirstFileIsNeverHiddenSystemOrAFolderWhileTheFullListHasEveryFile) {
  Touch("Plim1.ico");
  Touch("Plim2.ico");
  Touch("Plim3.ico");
  std::filesystem::create_directory(folder_.Host("Plim0.ico"));
  files_.Mark(folder_.Windows("Plim1.ico"), FileAttribute::Hidden);
  files_.Mark(folder_.Windows("PLIM2.ICO"), FileAttribute::System);

  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("Plim*.ico")), "Plim3.ico");
  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("Plim1.ico")), "");
  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("Plim0.ico")), "");
  EXPECT_EQ(files_.FindAllFiles(folder_.Windows("Plim*.ico")), (Names{"Plim1.ico", "Plim2.ico", "Plim3.ico"}));

  // The mark goes with the file: a new file at the same path is normal.
  files_.Delete(folder_.Windows("Plim1.ico"));
  WriteNew("Plim1.ico", Pattern(4));
  EXPECT_EQ(files_.FirstMatchingFile(folder_.Windows("Plim1.ico")), "Plim1.ico");
}

TEST_F(HostFiles, BytesWrittenAreTheFileExactlyAndWritesFollowEachOther) {
  const std::vector<std::uint8_t> bytes = Pattern(2240);
  WriteNew("Plim1.ico", bytes);
  EXPECT_EQ(folder_.ReadFile("Plim1.ico"), bytes);
  EXPECT_EQ(files_.ReadFileOfSize(folder_.Windows("plim1.ico"), bytes.size()), bytes);
  EXPECT_EQ(files_.ReadFileOfSize(folder_.Windows("plim1.ico"), bytes.size() - 1), std::nullopt);

  const std::int16_t number = files_.FreeFileNumber();
  files_.CreateNew(number, folder_.Windows("Two.bin"));
  files_.Write(number, std::vector<std::uint8_t>{1, 0});
  files_.Write(number, std::vector<std::uint8_t>{});
  files_.Write(number, std::vector<std::uint8_t>{0, 2});
  files_.Close(number);
  EXPECT_EQ(folder_.ReadFile("Two.bin"), (std::vector<std::uint8_t>{1, 0, 0, 2}));
}

TEST_F(HostFiles, CreationIsExclusiveAndLeavesWhateverStandsAtThePathUntouched) {
  folder_.WriteFile("Plim1.ico", {9, 9});
  folder_.WriteFile("Empty.ico", {});
  std::filesystem::create_directory(folder_.Host("Folder.ico"));

  for (const char* name : {"Plim1.ico", "PLIM1.ICO", "Empty.ico", "Folder.ico", "missing\\Plim1.ico"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(FailsAsService([&] { files_.CreateNew(1, folder_.Windows(name)); }));
    EXPECT_EQ(files_.FreeFileNumber(), 1);  // a failed creation holds no number
  }
  EXPECT_EQ(folder_.ReadFile("Plim1.ico"), (std::vector<std::uint8_t>{9, 9}));
  EXPECT_TRUE(folder_.ReadFile("Empty.ico").empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder_.Host("Folder.ico")));
  EXPECT_TRUE(FailsAsService([&] { files_.CreateNew(1, folder_.Windows("Plim*.ico")); }));
}

TEST_F(HostFiles, FileNumbersStartAtOneAndAreFreeAgainOnceClosed) {
  EXPECT_EQ(files_.FreeFileNumber(), 1);
  files_.CreateNew(1, folder_.Windows("a"));
  EXPECT_EQ(files_.FreeFileNumber(), 2);
  files_.CreateNew(3, folder_.Windows("c"));
  EXPECT_EQ(files_.FreeFileNumber(), 2);
  EXPECT_TRUE(FailsAsService([&] { files_.CreateNew(1, folder_.Windows("b")); }));
  EXPECT_TRUE(FailsAsService([&] { files_.CreateNew(0, folder_.Windows("b")); }));
  EXPECT_FALSE(std::filesystem::exists(folder_.Host("b")));
  files_.Close(1);
  EXPECT_EQ(files_.FreeFileNumber(), 1);
  EXPECT_TRUE(FailsAsService([&] { files_.Close(1); }));
  EXPECT_TRUE(FailsAsService([&] { files_.Write(2, Pattern(1)); }));
}

TEST_F(HostFiles, NumbersRunOutAfterTheLastOne) {
  for (std::int16_t number = 1; number <= FileNumberTable<int>::kLast; ++number) {
    files_.CreateNew(number, folder_.Windows("f" + std::to_string(number)));
  }
  EXPECT_TRUE(FailsAsService([&] { files_.FreeFileNumber(); }));
  files_.Close(200);
  EXPECT_EQ(files_.FreeFileNumber(), 200);
}

TEST_F(HostFiles, DeletionTakesOneExistingClosedFile) {
  Touch("Plim1.ico");
  std::filesystem::create_directory(folder_.Host("Folder"));
  files_.Delete(folder_.Windows("PLIM1.ico"));
  EXPECT_FALSE(std::filesystem::exists(folder_.Host("Plim1.ico")));

  EXPECT_TRUE(FailsAsService([&] { files_.Delete(folder_.Windows("Plim1.ico")); }));
  EXPECT_TRUE(FailsAsService([&] { files_.Delete(folder_.Windows("Folder")); }));
  EXPECT_TRUE(std::filesystem::exists(folder_.Host("Folder")));
  Touch("Plim2.ico");
  EXPECT_TRUE(FailsAsService([&] { files_.Delete(folder_.Windows("Plim*.ico")); }));
  EXPECT_TRUE(std::filesystem::exists(folder_.Host("Plim2.ico")));

  files_.CreateNew(1, folder_.Windows("Open.ico"));
  EXPECT_TRUE(FailsAsService([&] { files_.Delete(folder_.Windows("Open.ico")); }));
  files_.Close(1);
  files_.Delete(folder_.Windows("Open.ico"));
  EXPECT_FALSE(std::filesystem::exists(folder_.Host("Open.ico")));
}

TEST_F(HostFiles, ReadingAMissingFileOrAFolderFails) {
  std::filesystem::create_directory(folder_.Host("Folder"));
  EXPECT_TRUE(FailsAsService([&] { files_.ReadFileOfSize(folder_.Windows("missing"), 0); }));
  EXPECT_TRUE(FailsAsService([&] { files_.ReadFileOfSize(folder_.Windows("Folder"), 0); }));
  folder_.WriteFile("Empty", {});
  EXPECT_EQ(files_.ReadFileOfSize(folder_.Windows("Empty"), 0), std::vector<std::uint8_t>{});
}

TEST_F(HostFiles, AFolderThatRefusesNewFilesCreatesNone) {
  files_.RefuseNewFilesIn(folder_.path().string() + "\\");
  EXPECT_TRUE(FailsAsService([&] { files_.CreateNew(1, folder_.Windows("Plim1.ico")); }));
  EXPECT_FALSE(std::filesystem::exists(folder_.Host("Plim1.ico")));
  EXPECT_EQ(files_.FreeFileNumber(), 1);

  std::filesystem::create_directory(folder_.Host("Other"));
  files_.CreateNew(1, folder_.Windows("Other\\Plim1.ico"));  // only that folder refuses
  files_.Close(1);
}

TEST_F(HostFiles, AFileThatCannotBeDeletedStays) {
  Touch("Plim1.ico");
  files_.FailDeletionOf(folder_.Windows("plim1.ico"));
  EXPECT_TRUE(FailsAsService([&] { files_.Delete(folder_.Windows("Plim1.ico")); }));
  EXPECT_TRUE(std::filesystem::exists(folder_.Host("Plim1.ico")));
}

TEST_F(HostFiles, AFullDiskTakesWhatFitsThenFailsAndTheFileCanStillBeClosedAndDeleted) {
  files_.FillDiskAfter(100);
  const std::vector<std::uint8_t> bytes = Pattern(2240);
  files_.CreateNew(1, folder_.Windows("Plim1.ico"));
  files_.Write(1, std::span(bytes).first(60));
  EXPECT_TRUE(FailsAsService([&] { files_.Write(1, bytes); }));
  EXPECT_TRUE(FailsAsService([&] { files_.Write(1, std::span(bytes).first(1)); }));
  files_.Close(1);
  std::vector<std::uint8_t> stored(bytes.begin(), bytes.begin() + 60);
  stored.insert(stored.end(), bytes.begin(), bytes.begin() + 40);  // the 40 bytes that still fitted
  EXPECT_EQ(folder_.ReadFile("Plim1.ico"), stored);
  files_.Delete(folder_.Windows("Plim1.ico"));
  EXPECT_FALSE(std::filesystem::exists(folder_.Host("Plim1.ico")));
}

}  // namespace
}  // namespace corvella
