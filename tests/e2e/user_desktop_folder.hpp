// Points the user's desktop folder somewhere else for one scenario, the way
// Windows keeps it: the "Desktop" value under the user's shell folders in
// the registry. The old value comes back when this goes away.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace corvella::e2e {

class UserDesktopFolder {
 public:
  // path as the registry holds it, e.g. "%USERPROFILE%\Desktop".
  explicit UserDesktopFolder(const std::wstring& path);
  ~UserDesktopFolder();
  UserDesktopFolder(const UserDesktopFolder&) = delete;
  UserDesktopFolder& operator=(const UserDesktopFolder&) = delete;

 private:
  HKEY key_ = nullptr;
  bool had_value_ = false;
  DWORD old_type_ = 0;
  std::vector<BYTE> old_data_;
};

}  // namespace corvella::e2e
