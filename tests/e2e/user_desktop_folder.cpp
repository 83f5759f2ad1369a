#include "user_desktop_folder.hpp"

#include "driver_windows.hpp"

namespace corvella::e2e {
namespace {

constexpr const wchar_t* kUserShellFolders =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const wchar_t* kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const wchar_t* kDesktopValue = L"Desktop";

}  // namespace

SavedRegistryValue::SavedRegistryValue(const wchar_t* sub_key, const wchar_t* name) : name_(name) {
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, sub_key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS) {
    throw ScenarioFailed("cannot open the registry key " + ToUtf8(sub_key));
  }
  DWORD size = 0;
  existed_ = ::RegQueryValueExW(key_, name_, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS;
  if (existed_) {
    data_.resize(size);
    existed_ = ::RegQueryValueExW(key_, name_, nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
    data_.resize(size);
  }
}

SavedRegistryValue::~SavedRegistryValue() {
  if (existed_) {
    ::RegSetValueExW(key_, name_, 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
  } else {
    ::RegDeleteValueW(key_, name_);
  }
  ::RegCloseKey(key_);
}

UserDesktopFolder::UserDesktopFolder(const std::wstring& path)
    : user_shell_folder_(kUserShellFolders, kDesktopValue), shell_folder_(kShellFolders, kDesktopValue) {
  const auto bytes = static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t));
  if (::RegSetValueExW(user_shell_folder_.Key(), kDesktopValue, 0, REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(path.c_str()), bytes) != ERROR_SUCCESS) {
    throw ScenarioFailed("cannot set the user's desktop folder in the registry");
  }
}

}  // namespace corvella::e2e
