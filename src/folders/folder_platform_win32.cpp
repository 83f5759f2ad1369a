#include "folders/folder_platform_win32.hpp"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "core/unicode.hpp"
#include "core/unicode_win32.hpp"
#include "core/window_handle_win32.hpp"

namespace corvella {

// The portable copies of the SDK's values.
static_assert(kRegistryText == REG_SZ);
static_assert(kDesktopFolder == CSIDL_DESKTOP);
static_assert(kProgramsFolder == CSIDL_PROGRAMS);
static_assert(kPersonalFolder == CSIDL_PERSONAL);
static_assert(kFavoritesFolder == CSIDL_FAVORITES);
static_assert(kStartupFolder == CSIDL_STARTUP);
static_assert(kRecentFolder == CSIDL_RECENT);
static_assert(kSendToFolder == CSIDL_SENDTO);
static_assert(kStartMenuFolder == CSIDL_STARTMENU);
static_assert(kFontsFolder == CSIDL_FONTS);

namespace {

// Room for the longest path any of the directory calls reports (the
// temporary path may take MAX_PATH + 1 characters) and its NUL.
using WidePath = std::array<wchar_t, MAX_PATH + 2>;

// Predefined roots such as 0x80000002 are sign-extended handle values.
HKEY ToHkey(RegistryKey key) { return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<std::int32_t>(key))); }

RegistryKey FromHkey(HKEY key) { return static_cast<RegistryKey>(reinterpret_cast<ULONG_PTR>(key)); }

// Writes the path and its NUL only when both fit; a longer path leaves the
// buffer untouched, so the caller reads "" instead of a cut path.
bool CopyWhenItFits(const wchar_t* path, std::size_t length, PathBuffer buffer) {
  if (length >= buffer.size()) {
    return false;
  }
  std::copy_n(path, length, buffer.begin());
  buffer[length] = u'\0';
  return true;
}

// The directory calls return the length written, or the size they need
// when their buffer is too small. Read into a buffer large enough for any
// answer, then hand on only a path that fits; for one that does not,
// report the size it would need, as the call itself does.
template <typename Call>
std::int32_t ReadDirectory(Call call, PathBuffer buffer) {
  WidePath path{};
  const UINT length = call(path);
  if (length == 0 || length >= path.size()) {
    return static_cast<std::int32_t>(length);
  }
  return static_cast<std::int32_t>(CopyWhenItFits(path.data(), length, buffer) ? length : length + 1);
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

}  // namespace

std::int32_t Win32FolderPlatform::GetWindowsDirectoryPath(PathBuffer buffer) {
  return ReadDirectory(
      [](WidePath& path) { return ::GetWindowsDirectoryW(path.data(), static_cast<UINT>(path.size())); }, buffer);
}

std::int32_t Win32FolderPlatform::GetSystemDirectoryPath(PathBuffer buffer) {
  return ReadDirectory(
      [](WidePath& path) { return ::GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size())); }, buffer);
}

std::int32_t Win32FolderPlatform::GetTempDirectoryPath(PathBuffer buffer) {
  return ReadDirectory(
      [](WidePath& path) { return static_cast<UINT>(::GetTempPathW(static_cast<DWORD>(path.size()), path.data())); },
      buffer);
}

OwnerWindow Win32FolderPlatform::GetDesktopWindowHandle() { return FromHwnd(::GetDesktopWindow()); }

std::int32_t Win32FolderPlatform::GetSpecialFolderLocation(OwnerWindow owner, std::int32_t folder,
                                                           ItemIdList& item_list) {
  PIDLIST_ABSOLUTE list = nullptr;
  const HRESULT result = ::SHGetSpecialFolderLocation(ToHwnd(owner), folder, &list);
  item_list = reinterpret_cast<ItemIdList>(list);
  return static_cast<std::int32_t>(result);
}

// The shell writes up to MAX_PATH characters, more than the caller's
// buffer holds, so it writes into its own buffer first.
std::int32_t Win32FolderPlatform::GetPathFromIdList(ItemIdList item_list, PathBuffer buffer) {
  auto* const list = reinterpret_cast<PIDLIST_ABSOLUTE>(item_list);
  if (list == nullptr) {
    return FALSE;
  }
  std::array<wchar_t, MAX_PATH> path{};
  const BOOL read = ::SHGetPathFromIDListW(list, path.data());
  ::ILFree(list);
  if (!read) {
    return FALSE;
  }
  const auto end = std::find(path.begin(), path.end(), L'\0');
  if (end == path.end() || !CopyWhenItFits(path.data(), static_cast<std::size_t>(end - path.begin()), buffer)) {
    return FALSE;
  }
  return read;
}

std::int32_t Win32FolderPlatform::OpenRegistryKey(RegistryKey root, std::string_view sub_key, RegistryKey& key) {
  HKEY opened = nullptr;
  const LONG result = ::RegOpenKeyW(ToHkey(root), Utf8ToWide(sub_key).c_str(), &opened);
  key = FromHkey(opened);
  return result;
}

// Text values are read as UTF-16 and handed on as UTF-8, other types as
// their raw bytes. Data that would not fit the caller's length is not
// written at all and reports ERROR_MORE_DATA, as the call does.
std::int32_t Win32FolderPlatform::QueryRegistryValue(RegistryKey key, std::string_view value_name,
                                                     std::uint32_t& value_type, RegistryBuffer data,
                                                     std::uint32_t& data_length) {
  const std::size_t room = std::min<std::size_t>(data_length, data.size());
  // Text that fits room bytes of UTF-8 takes at most room UTF-16 units.
  std::array<wchar_t, kFolderBufferLength> wide{};
  DWORD type = 0;
  auto size = static_cast<DWORD>(room * sizeof(wchar_t));
  const LONG result = ::RegQueryValueExW(ToHkey(key), Utf8ToWide(value_name).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(wide.data()), &size);
  value_type = type;
  if (result != ERROR_SUCCESS) {
    data_length = size;
    return result;
  }
  std::string bytes;
  if (IsText(type)) {
    bytes = Utf16ToUtf8(std::u16string(wide.begin(), wide.begin() + size / sizeof(wchar_t)));
  } else {
    bytes.assign(reinterpret_cast<const char*>(wide.data()), size);
  }
  data_length = static_cast<std::uint32_t>(bytes.size());
  if (bytes.size() > room) {
    return ERROR_MORE_DATA;
  }
  std::copy(bytes.begin(), bytes.end(), data.begin());
  return ERROR_SUCCESS;
}

std::int32_t Win32FolderPlatform::CloseRegistryKey(RegistryKey key) { return ::RegCloseKey(ToHkey(key)); }

}  // namespace corvella
