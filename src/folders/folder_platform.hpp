// The platform calls behind the special folders, one per call. Each writes
// into a 256-unit buffer created by the caller, so tests can hand back exact
// contents; paths are UTF-16 and registry data arrives as narrow (UTF-8) text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace corvella {

// Every folder read works on a buffer of this many units, all NUL at first.
inline constexpr std::size_t kFolderBufferLength = 256;

using PathBuffer = std::span<char16_t, kFolderBufferLength>;
using RegistryBuffer = std::span<char, kFolderBufferLength>;

// A 32-bit window handle; 0 is "no window".
using OwnerWindow = std::uint32_t;
// A shell item list, owned by whoever received it until it is handed to
// GetPathFromIdList; 0 is the null list.
using ItemIdList = std::uintptr_t;
// A registry key as a 32-bit value: an open key or a predefined root; 0 is "no key".
using RegistryKey = std::uint32_t;

inline constexpr RegistryKey kLocalMachineKey = 0x80000002;  // HKEY_LOCAL_MACHINE
inline constexpr std::uint32_t kRegistryText = 1;            // REG_SZ

// Shell special-folder numbers (CSIDL).
inline constexpr std::int32_t kDesktopFolder = 0;
inline constexpr std::int32_t kProgramsFolder = 2;
inline constexpr std::int32_t kPersonalFolder = 5;
inline constexpr std::int32_t kFavoritesFolder = 6;
inline constexpr std::int32_t kStartupFolder = 7;
inline constexpr std::int32_t kRecentFolder = 8;
inline constexpr std::int32_t kSendToFolder = 9;
inline constexpr std::int32_t kStartMenuFolder = 11;
inline constexpr std::int32_t kFontsFolder = 20;

// None of the calls throws; failures show only in the results and in a
// buffer left as it was. A path that would not fit the buffer with its NUL
// is never written, so no read yields a cut path.
class FolderPlatform {
 public:
  virtual ~FolderPlatform() = default;

  // The Windows, system and temporary directories; the length written, or
  // the length needed when the path does not fit, or 0 on failure.
  virtual std::int32_t GetWindowsDirectoryPath(PathBuffer buffer) = 0;
  virtual std::int32_t GetSystemDirectoryPath(PathBuffer buffer) = 0;
  virtual std::int32_t GetTempDirectoryPath(PathBuffer buffer) = 0;

  virtual OwnerWindow GetDesktopWindowHandle() = 0;
  // The item list of a shell special folder; a failure code (negative)
  // leaves the list 0.
  virtual std::int32_t GetSpecialFolderLocation(OwnerWindow owner, std::int32_t folder, ItemIdList& item_list) = 0;
  // The file-system path of the item list, then releases the list (also
  // when reading fails). Nonzero when the path was written; 0 for the null
  // list, for an item that is no file-system folder and for a path that does
  // not fit.
  virtual std::int32_t GetPathFromIdList(ItemIdList item_list, PathBuffer buffer) = 0;

  // Registry results are the system's error codes, 0 for success.
  virtual std::int32_t OpenRegistryKey(RegistryKey root, std::string_view sub_key, RegistryKey& key) = 0;
  // Writes at most data_length bytes and reports back the bytes it wrote or
  // needed and the value's type. Text values arrive as UTF-8, other types as
  // their raw bytes; nothing is expanded and no NUL is added to what is stored.
  virtual std::int32_t QueryRegistryValue(RegistryKey key, std::string_view value_name, std::uint32_t& value_type,
                                          RegistryBuffer data, std::uint32_t& data_length) = 0;
  virtual std::int32_t CloseRegistryKey(RegistryKey key) = 0;
};

}  // namespace corvella
