#include "folders/system_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "fake_folder_platform.hpp"
#include "folders/folder_platform.hpp"

namespace corvella::testing {
namespace {

using Property = std::string (clsSystemFolder::*)();

std::string Location(std::int32_t folder) {
  return "GetSpecialFolderLocation " + std::to_string(kDesktopWindow) + " " + std::to_string(folder);
}

// --- The three directories --------------------------------------------------

TEST(SystemFolderDirectories, EachMakesItsOwnCallAndReturnsThePathAsWritten) {
  FakeFolderPlatform platform;
  platform.windows_directory = u"C:\\WINDOWS";
  platform.system_directory = u"C:\\WINDOWS\\system32";
  platform.temp_directory = u"C:\\Users\\a\\AppData\\Local\\Temp\\";
  platform.directory_result = 19;
  clsSystemFolder folder(platform);

  EXPECT_EQ(folder.Windows(), "C:\\WINDOWS");
  EXPECT_EQ(folder.System(), "C:\\WINDOWS\\system32");
  EXPECT_EQ(folder.Temp(), "C:\\Users\\a\\AppData\\Local\\Temp\\");
  EXPECT_EQ(folder.lngResult, 19);
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"GetWindowsDirectoryPath", "GetSystemDirectoryPath", "GetTempDirectoryPath"}));
}

TEST(SystemFolderDirectories, CutAtTheFirstNulAndGiveEmptyWhenTheBufferHoldsNone) {
  FakeFolderPlatform platform;
  clsSystemFolder folder(platform);

  platform.windows_directory = std::u16string(u"C:\\WIN\0DOWS\\junk", 16);
  EXPECT_EQ(folder.Windows(), "C:\\WIN");

  platform.windows_directory = std::u16string(255, u'x');
  EXPECT_EQ(folder.Windows(), std::string(255, 'x'));

  platform.windows_directory = std::u16string(256, u'x');
  EXPECT_EQ(folder.Windows(), "");

  platform.windows_directory.clear();
  platform.directory_result = 0;
  EXPECT_EQ(folder.Windows(), "");
  EXPECT_EQ(folder.lngResult, 0);
}

TEST(SystemFolderDirectories, PathsOutsideAsciiComeBackAsUtf8) {
  FakeFolderPlatform platform;
  // A Japanese user name, an astral character (a surrogate pair) and a
  // lone surrogate, which a Windows path may hold but UTF-8 cannot.
  platform.temp_directory = u"C:\\Users\\\u5c71\u7530\\\U0001F496\\\xD800x\\";
  clsSystemFolder folder(platform);

  EXPECT_EQ(folder.Temp(), "C:\\Users\\\xE5\xB1\xB1\xE7\x94\xB0\\\xF0\x9F\x92\x96\\\xEF\xBF\xBDx\\");
}

// --- The shell folders ------------------------------------------------------

struct ShellFolderCase {
  const char* name;
  Property property;
  std::int32_t folder;

  friend void PrintTo(const ShellFolderCase& entry, std::ostream* out) { *out << entry.name; }
};

class SystemFolderShellFolders : public ::testing::TestWithParam<ShellFolderCase> {};

TEST_P(SystemFolderShellFolders, AskTheShellForTheirFolderOwnedByTheDesktopWindow) {
  FakeFolderPlatform platform;
  const std::int32_t number = GetParam().folder;
  platform.special_folders[number] = u"D:\\Folder " + std::u16string(1, static_cast<char16_t>(u'A' + number));
  clsSystemFolder folder(platform);

  const std::string path = (folder.*GetParam().property)();

  EXPECT_EQ(path, "D:\\Folder " + std::string(1, static_cast<char>('A' + number)));
  EXPECT_EQ(folder.lngResult, 1);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"GetDesktopWindowHandle", Location(number),
                                                      "GetPathFromIdList " + std::to_string(0x5000)}));
  EXPECT_TRUE(platform.live_item_lists.empty()) << "the item list was not released";
}

INSTANTIATE_TEST_SUITE_P(EveryShellFolder, SystemFolderShellFolders,
                         ::testing::Values(ShellFolderCase{"Desktop", &clsSystemFolder::Desktop, 0},
                                           ShellFolderCase{"Programs", &clsSystemFolder::Programs, 2},
                                           ShellFolderCase{"Personal", &clsSystemFolder::Personal, 5},
                                           ShellFolderCase{"Favorites", &clsSystemFolder::Favorites, 6},
                                           ShellFolderCase{"Startup", &clsSystemFolder::Startup, 7},
                                           ShellFolderCase{"Recent", &clsSystemFolder::Recent, 8},
                                           ShellFolderCase{"SendTo", &clsSystemFolder::SendTo, 9},
                                           ShellFolderCase{"Fonts", &clsSystemFolder::Fonts, 20},
                                           ShellFolderCase{"StartMenu", &clsSystemFolder::StartMenu, 11}),
                         [](const ::testing::TestParamInfo<ShellFolderCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(SystemFolderShellFolder, AFolderTheShellCannotResolveGivesEmptyAfterReadingTheNullList) {
  FakeFolderPlatform platform;
  clsSystemFolder folder(platform);
  folder.lngResult = 77;

  EXPECT_EQ(folder.Fonts(), "");
  EXPECT_EQ(folder.lngResult, 0);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"GetDesktopWindowHandle", Location(20), "GetPathFromIdList 0"}));
}

TEST(SystemFolderShellFolder, DesktopIsAskedAnewAtEveryRead) {
  FakeFolderPlatform platform;
  platform.special_folders[0] = u"C:\\Users\\a\\Desktop";
  clsSystemFolder folder(platform);

  EXPECT_EQ(folder.Desktop(), "C:\\Users\\a\\Desktop");
  platform.special_folders[0] = u"E:\\\u30c7\u30b9\u30af\u30c8\u30c3\u30d7";  // not only ASCII
  EXPECT_EQ(folder.Desktop(), "E:\\\xE3\x83\x87\xE3\x82\xB9\xE3\x82\xAF\xE3\x83\x88\xE3\x83\x83\xE3\x83\x97");
  EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), Location(0)), 2);
}

TEST(SystemFolderShellFolder, APathFillingTheWholeBufferGivesEmptyNotACutPath) {
  FakeFolderPlatform platform;
  platform.special_folders[0] = u"C:\\" + std::u16string(253, u'd');
  clsSystemFolder folder(platform);

  EXPECT_EQ(folder.Desktop(), "");

  platform.special_folders[0] = u"C:\\" + std::u16string(252, u'd');
  EXPECT_EQ(folder.Desktop(), "C:\\" + std::string(252, 'd'));
}

// --- The registry folders ---------------------------------------------------

struct RegistryCase {
  const char* name;
  Property property;
  const char* key;
  const char* value;

  friend void PrintTo(const RegistryCase& entry, std::ostream* out) { *out << entry.name; }
};

class SystemFolderRegistryFolders : public ::testing::TestWithParam<RegistryCase> {};

TEST_P(SystemFolderRegistryFolders, ReadTheirValueUnderLocalMachineAndCloseTheKey) {
  const RegistryCase& entry = GetParam();
  FakeFolderPlatform platform;
  platform.registry[entry.key][entry.value] = {1, std::string("X:\\") + entry.value + '\0'};
  platform.registry[entry.key]["Other"] = {1, std::string("wrong\0", 6)};
  clsSystemFolder folder(platform);

  EXPECT_EQ((folder.*entry.property)(), std::string("X:\\") + entry.value);
  EXPECT_EQ(folder.lngResult, 0);
  const std::string key = std::to_string(kFirstOpenedKey);
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"OpenRegistryKey 2147483650 " + std::string(entry.key),
                                      "QueryRegistryValue " + key + " " + entry.value + " type 1 length 256",
                                      "CloseRegistryKey " + key}));
  EXPECT_TRUE(platform.open_keys.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryRegistryFolder, SystemFolderRegistryFolders,
    ::testing::Values(RegistryCase{"Device", &clsSystemFolder::Device, kCurrentVersion, "DevicePath"},
                      RegistryCase{"CommonFiles", &clsSystemFolder::CommonFiles, kCurrentVersion, "CommonFilesDir"},
                      RegistryCase{"Config", &clsSystemFolder::Config, kCurrentVersion, "ConfigPath"},
                      RegistryCase{"Media", &clsSystemFolder::Media, kCurrentVersion, "MediaPath"},
                      RegistryCase{"ProgramFiles", &clsSystemFolder::ProgramFiles, kCurrentVersion, "ProgramFilesDir"},
                      RegistryCase{"OldWindows", &clsSystemFolder::OldWindows, kCurrentVersion, "OldWinDir"},
                      RegistryCase{"VB5Install", &clsSystemFolder::VB5Install, "SOFTWARE\\Microsoft\\Visual Basic\\5.0",
                                   "InstallDir"}),
    [](const ::testing::TestParamInfo<RegistryCase>& info) { return std::string(info.param.name); });

TEST(SystemFolderRegistry, AMissingKeyStillQueriesAndClosesWithKeyZero) {
  FakeFolderPlatform platform;
  clsSystemFolder folder(platform);

  EXPECT_EQ(folder.VB5Install(), "");
  EXPECT_EQ(folder.lngResult, kInvalidHandle);
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"OpenRegistryKey 2147483650 SOFTWARE\\Microsoft\\Visual Basic\\5.0",
                                      "QueryRegistryValue 0 InstallDir type 1 length 256", "CloseRegistryKey 0"}));
}

TEST(SystemFolderRegistry, AMissingValueGivesEmptyAndTheKeyIsClosed) {
  FakeFolderPlatform platform;
  platform.registry[kCurrentVersion]["ProgramFilesDir"] = {1, std::string("C:\\Program Files\0", 17)};
  clsSystemFolder folder(platform);

  EXPECT_EQ(folder.OldWindows(), "");
  EXPECT_EQ(folder.lngResult, 0);
  EXPECT_TRUE(platform.open_keys.empty());
}

TEST(SystemFolderRegistry, TakesTheStoredBytesAsTextWhateverTheirType) {
  FakeFolderPlatform platform;
  auto& values = platform.registry[kCurrentVersion];
  values["DevicePath"] = {4, std::string("\x01\0\0\0", 4)};                   // a number, 1
  values["MediaPath"] = {2, std::string("%SystemRoot%\\Media\0", 19)};        // expandable text
  values["ConfigPath"] = {7, std::string("C:\\One\0C:\\Two\0\0", 16)};        // several texts
  values["OldWinDir"] = {3, std::string("A\xFF\xC3\xA9\xE5\xB1", 6) + '\0'};  // bytes, not UTF-8
  values["CommonFilesDir"] = {1, std::string("C:\\Program Files\\Common Files\\\0x", 32)};
  clsSystemFolder folder(platform);

  EXPECT_EQ(folder.Device(), "\x01");
  EXPECT_EQ(folder.Media(), "%SystemRoot%\\Media");
  EXPECT_EQ(folder.Config(), "C:\\One");
  EXPECT_EQ(folder.OldWindows(), "A\xEF\xBF\xBD\xC3\xA9\xEF\xBF\xBD");
  EXPECT_EQ(folder.CommonFiles(), "C:\\Program Files\\Common Files\\");
}

TEST(SystemFolderRegistry, DataFillingAllOfTheBufferGivesEmpty) {
  FakeFolderPlatform platform;
  auto& values = platform.registry[kCurrentVersion];
  values["ProgramFilesDir"] = {1, std::string(256, 'p')};
  values["MediaPath"] = {1, std::string(255, 'm') + '\0'};
  values["DevicePath"] = {1, std::string(300, 'd')};
  clsSystemFolder folder(platform);

  EXPECT_EQ(folder.ProgramFiles(), "");
  EXPECT_EQ(folder.Media(), std::string(255, 'm'));
  EXPECT_EQ(folder.Device(), "");
  EXPECT_EQ(folder.lngResult, 0);
  EXPECT_TRUE(platform.open_keys.empty());
}

}  // namespace
}  // namespace corvella::testing
