// The special-folder calls over the shell, kernel and registry, in their
// wide-character forms so that paths outside the system code page survive.
#pragma once

#include "folders/folder_platform.hpp"

namespace corvella {

class Win32FolderPlatform final : public FolderPlatform {
 public:
  std::int32_t GetWindowsDirectoryPath(PathBuffer buffer) override;
  std::int32_t GetSystemDirectoryPath(PathBuffer buffer) override;
  std::int32_t GetTempDirectoryPath(PathBuffer buffer) override;
  OwnerWindow GetDesktopWindowHandle() override;
  std::int32_t GetSpecialFolderLocation(OwnerWindow owner, std::int32_t folder, ItemIdList& item_list) override;
  std::int32_t GetPathFromIdList(ItemIdList item_list, PathBuffer buffer) override;
  std::int32_t OpenRegistryKey(RegistryKey root, std::string_view sub_key, RegistryKey& key) override;
  std::int32_t QueryRegistryValue(RegistryKey key, std::string_view value_name, std::uint32_t& value_type,
                                  RegistryBuffer data, std::uint32_t& data_length) override;
  std::int32_t CloseRegistryKey(RegistryKey key) override;
};

}  // namespace corvella
