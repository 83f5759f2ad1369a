#include "folders/system_folder.hpp"

#include <algorithm>
#include <array>
#include <span>

#include "core/unicode.hpp"

namespace corvella {
namespace {

constexpr std::string_view kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr std::string_view kVisualBasicKey = "SOFTWARE\\Microsoft\\Visual Basic\\5.0";

// The text before the first NUL. A buffer without one was filled to the
// brim by a value that did not fit, so it gives "" rather than a cut text.
template <typename Char>
std::basic_string_view<Char> BeforeFirstNul(std::span<const Char> buffer) {
  const auto nul = std::find(buffer.begin(), buffer.end(), Char{0});
  if (nul == buffer.end()) {
    return {};
  }
  return {buffer.data(), static_cast<std::size_t>(nul - buffer.begin())};
}

std::string PathText(const std::array<char16_t, kFolderBufferLength>& buffer) {
  return Utf16ToUtf8(BeforeFirstNul<char16_t>(buffer));
}

// Registry bytes of a type other than text need not be UTF-8; the round trip
// keeps well-formed text as it is and replaces what is not.
std::string RegistryText(const std::array<char, kFolderBufferLength>& buffer) {
  return Utf16ToUtf8(Utf8ToUtf16(BeforeFirstNul<char>(buffer)));
}

}  // namespace

std::string clsSystemFolder::Windows() {
  std::array<char16_t, kFolderBufferLength> buffer{};
  lngResult = platform_.GetWindowsDirectoryPath(buffer);
  return PathText(buffer);
}

std::string clsSystemFolder::System() {
  std::array<char16_t, kFolderBufferLength> buffer{};
  lngResult = platform_.GetSystemDirectoryPath(buffer);
  return PathText(buffer);
}

std::string clsSystemFolder::Temp() {
  std::array<char16_t, kFolderBufferLength> buffer{};
  lngResult = platform_.GetTempDirectoryPath(buffer);
  return PathText(buffer);
}

std::string clsSystemFolder::Desktop() { return GetSpecialFolder(kDesktopFolder); }
std::string clsSystemFolder::Programs() { return GetSpecialFolder(kProgramsFolder); }
std::string clsSystemFolder::Personal() { return GetSpecialFolder(kPersonalFolder); }
std::string clsSystemFolder::Favorites() { return GetSpecialFolder(kFavoritesFolder); }
std::string clsSystemFolder::Startup() { return GetSpecialFolder(kStartupFolder); }
std::string clsSystemFolder::Recent() { return GetSpecialFolder(kRecentFolder); }
std::string clsSystemFolder::SendTo() { return GetSpecialFolder(kSendToFolder); }
std::string clsSystemFolder::Fonts() { return GetSpecialFolder(kFontsFolder); }
std::string clsSystemFolder::StartMenu() { return GetSpecialFolder(kStartMenuFolder); }

std::string clsSystemFolder::Device() { return GetRegistryString(kLocalMachineKey, kCurrentVersionKey, "DevicePath"); }
std::string clsSystemFolder::CommonFiles() {
  return GetRegistryString(kLocalMachineKey, kCurrentVersionKey, "CommonFilesDir");
}
std::string clsSystemFolder::Config() { return GetRegistryString(kLocalMachineKey, kCurrentVersionKey, "ConfigPath"); }
std::string clsSystemFolder::Media() { return GetRegistryString(kLocalMachineKey, kCurrentVersionKey, "MediaPath"); }
std::string clsSystemFolder::ProgramFiles() {
  return GetRegistryString(kLocalMachineKey, kCurrentVersionKey, "ProgramFilesDir");
}
std::string clsSystemFolder::OldWindows() {
  return GetRegistryString(kLocalMachineKey, kCurrentVersionKey, "OldWinDir");
}
std::string clsSystemFolder::VB5Install() { return GetRegistryString(kLocalMachineKey, kVisualBasicKey, "InstallDir"); }

// The path is read even when the location call failed: the platform treats
// the null list as a failed read, and every step of a read always runs.
std::string clsSystemFolder::GetSpecialFolder(std::int32_t lngFolder) {
  std::array<char16_t, kFolderBufferLength> buffer{};
  ItemIdList item_list = 0;
  const OwnerWindow owner = platform_.GetDesktopWindowHandle();
  lngResult = platform_.GetSpecialFolderLocation(owner, lngFolder, item_list);
  lngResult = platform_.GetPathFromIdList(item_list, buffer);
  return PathText(buffer);
}

// The query and the close run even when the open failed (key still 0); the
// type and length that the query reports back are not looked at.
std::string clsSystemFolder::GetRegistryString(RegistryKey lngRootKey, std::string_view strSubKey,
                                               std::string_view strValueName) {
  std::array<char, kFolderBufferLength> buffer{};
  RegistryKey key = 0;
  lngResult = platform_.OpenRegistryKey(lngRootKey, strSubKey, key);
  std::uint32_t data_length = kFolderBufferLength;
  std::uint32_t value_type = kRegistryText;
  lngResult = platform_.QueryRegistryValue(key, strValueName, value_type, buffer, data_length);
  std::string result = RegistryText(buffer);
  lngResult = platform_.CloseRegistryKey(key);
  return result;
}

}  // namespace corvella
