// The special folders: nineteen read-only properties that ask the platform
// anew at every read for a folder of the Windows installation or of the
// user. A read that fails gives the empty string; nothing is cached.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "folders/folder_platform.hpp"

namespace corvella {

// "cls" marks a class in the program's own naming: the system folder class.
class clsSystemFolder {
 public:
  explicit clsSystemFolder(FolderPlatform& platform) : platform_(platform) {}

  std::string Windows();
  std::string System();
  std::string Temp();
  std::string Desktop();
  std::string Programs();
  std::string Personal();
  std::string Favorites();
  std::string Startup();
  std::string Recent();
  std::string SendTo();
  std::string Fonts();
  std::string StartMenu();
  std::string Device();
  std::string CommonFiles();
  std::string Config();
  std::string Media();
  std::string ProgramFiles();
  std::string OldWindows();
  std::string VB5Install();

  // The result of the last platform call of the last read.
  std::int32_t lngResult = 0;

 private:
  // lngFolder: a shell special-folder number (kDesktopFolder, ...).
  std::string GetSpecialFolder(std::int32_t lngFolder);
  // lngRootKey: the predefined registry root; strSubKey: the key's path under
  // it; strValueName: the text value to read.
  std::string GetRegistryString(RegistryKey lngRootKey, std::string_view strSubKey, std::string_view strValueName);

  FolderPlatform& platform_;
};

}  // namespace corvella
