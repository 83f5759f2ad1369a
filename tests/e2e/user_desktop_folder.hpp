// Points the user's desktop folder somewhere else for one scenario, the way
// Windows keeps it: the "Desktop" value under the user's shell folders in
// the registry. The old values come back when this goes away.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace corvella::e2e {

// One registry value as it was, to be put back later.
class SavedRegistryValue {
 public:
  SavedRegistryValue(const wchar_t* sub_key, const wchar_t* name);
  ~SavedRegistryValue();
  SavedRegistryValue(const SavedRegistryValue&) = delete;
  SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

  [[nodiscard]] HKEY Key() const { return key_; }

 private:
  HKEY key_ = nullptr;
  const wchar_t* name_;
  bool existed_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
};

class UserDesktopFolder {
 public:
  // path as the registry holds it, e.g. "%USERPROFILE%\Desktop".
  explicit UserDesktopFolder(const std::wstring& path);

 private:
  SavedRegistryValue user_shell_folder_;
  // The shell's copy of the expanded path, which it rewrites when it reads
  // the value above.
  SavedRegistryValue shell_folder_;
};

}  // namespace corvella::e2e
