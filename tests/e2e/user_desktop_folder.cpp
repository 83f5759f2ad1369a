#include "user_desktop_folder.hpp"

#include "driver_windows.hpp"

namespace corvella::e2e {
namespace {

constexpr const wchar_t* kUserShellFolders =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const wchar_t* kDesktopValue = L"Desktop";

}  // namespace

UserDesktopFolder::UserDesktopFolder(const std::wstring& path) {
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kUserShellFolders, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &key_, nullptr) != ERROR_SUCCESS) {
    throw ScenarioFailed("cannot open the user's shell folders in the registry");
  }
  DWORD size = 0;
  had_value_ = ::RegQueryValueExW(key_, kDesktopValue, nullptr, &old_type_, nullptr, &size) == ERROR_SUCCESS;
  if (had_value_) {
    old_data_.resize(size);
    had_value_ = ::RegQueryValueExW(key_, kDesktopValue, nullptr, &old_type_, old_data_.data(), &size) == ERROR_SUCCESS;
    old_data_.resize(size);
  }
  const auto bytes = static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t));
  if (::RegSetValueExW(key_, kDesktopValue, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()), bytes) !=
      ERROR_SUCCESS) {
    ::RegCloseKey(key_);
    throw ScenarioFailed("cannot set the user's desktop folder in the registry");
  }
}

UserDesktopFolder::~UserDesktopFolder() {
  if (had_value_) {
    ::RegSetValueExW(key_, kDesktopValue, 0, old_type_, old_data_.data(), static_cast<DWORD>(old_data_.size()));
  } else {
    ::RegDeleteValueW(key_, kDesktopValue);
  }
  ::RegCloseKey(key_);
}

}  // namespace corvella::e2e
