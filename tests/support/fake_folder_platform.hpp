// An in-memory shell, kernel and registry for the special folders: each
// call writes exactly the units or bytes a test configured and is logged
// with its arguments, so a test sees every unit the folder class reads.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "folders/folder_platform.hpp"

namespace corvella::testing {

inline constexpr std::int32_t kFileNotFound = 2;
inline constexpr std::int32_t kInvalidHandle = 6;
inline constexpr std::int32_t kMoreData = 234;
inline constexpr std::int32_t kNoSuchFolder = -2147467259;  // E_FAIL
inline constexpr OwnerWindow kDesktopWindow = 0x10010;
inline constexpr RegistryKey kFirstOpenedKey = 0x120;
inline constexpr const char* kCurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Writes exactly the configured units or bytes (up to the buffer's size,
// with no NUL added), so a test controls every unit the class sees. Each
// call is logged with its arguments; item lists and keys are tracked so
// that a leak or a mixed-up handle shows.
class FakeFolderPlatform final : public FolderPlatform {
 public:
  std::u16string windows_directory;
  std::u16string system_directory;
  std::u16string temp_directory;
  std::int32_t directory_result = 10;
  // Folder number to the units its path call writes; numbers not here fail.
  std::map<std::int32_t, std::u16string> special_folders;
  // Key path to its values: value name to the bytes stored and their type.
  std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>> registry;

  std::vector<std::string> calls;
  std::set<ItemIdList> live_item_lists;
  std::set<RegistryKey> open_keys;

  std::int32_t GetWindowsDirectoryPath(PathBuffer buffer) override {
    calls.emplace_back("GetWindowsDirectoryPath");
    return WriteDirectory(windows_directory, buffer);
  }
  std::int32_t GetSystemDirectoryPath(PathBuffer buffer) override {
    calls.emplace_back("GetSystemDirectoryPath");
    return WriteDirectory(system_directory, buffer);
  }
  std::int32_t GetTempDirectoryPath(PathBuffer buffer) override {
    calls.emplace_back("GetTempDirectoryPath");
    return WriteDirectory(temp_directory, buffer);
  }

  OwnerWindow GetDesktopWindowHandle() override {
    calls.emplace_back("GetDesktopWindowHandle");
    return kDesktopWindow;
  }

  std::int32_t GetSpecialFolderLocation(OwnerWindow owner, std::int32_t folder, ItemIdList& item_list) override {
    calls.push_back("GetSpecialFolderLocation " + std::to_string(owner) + " " + std::to_string(folder));
    if (!special_folders.contains(folder)) {
      return kNoSuchFolder;
    }
    item_list = next_item_list_++;
    live_item_lists.insert(item_list);
    item_folders_[item_list] = folder;
    return 0;
  }

  std::int32_t GetPathFromIdList(ItemIdList item_list, PathBuffer buffer) override {
    calls.push_back("GetPathFromIdList " + std::to_string(item_list));
    if (item_list == 0) {
      return 0;
    }
    EXPECT_EQ(live_item_lists.erase(item_list), 1U) << "item list read twice or never handed out";
    const std::u16string& path = special_folders.at(item_folders_.at(item_list));
    std::copy_n(path.begin(), std::min(path.size(), buffer.size()), buffer.begin());
    return 1;
  }

  std::int32_t OpenRegistryKey(RegistryKey root, std::string_view sub_key, RegistryKey& key) override {
    calls.push_back("OpenRegistryKey " + std::to_string(root) + " " + std::string(sub_key));
    if (root != kLocalMachineKey || !registry.contains(std::string(sub_key))) {
      return kFileNotFound;
    }
    key = next_key_++;
    open_keys.insert(key);
    key_paths_[key] = std::string(sub_key);
    return 0;
  }

  std::int32_t QueryRegistryValue(RegistryKey key, std::string_view value_name, std::uint32_t& value_type,
                                  RegistryBuffer data, std::uint32_t& data_length) override {
    calls.push_back("QueryRegistryValue " + std::to_string(key) + " " + std::string(value_name) + " type " +
                    std::to_string(value_type) + " length " + std::to_string(data_length));
    if (!open_keys.contains(key)) {
      return kInvalidHandle;
    }
    const auto& values = registry.at(key_paths_.at(key));
    const auto value = values.find(std::string(value_name));
    if (value == values.end()) {
      return kFileNotFound;
    }
    const auto& [type, bytes] = value->second;
    value_type = type;
    if (bytes.size() > data_length) {
      data_length = static_cast<std::uint32_t>(bytes.size());
      return kMoreData;
    }
    data_length = static_cast<std::uint32_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.begin());
    return 0;
  }

  std::int32_t CloseRegistryKey(RegistryKey key) override {
    calls.push_back("CloseRegistryKey " + std::to_string(key));
    return open_keys.erase(key) == 1 ? 0 : kInvalidHandle;
  }

 private:
  std::int32_t WriteDirectory(const std::u16string& path, PathBuffer buffer) const {
    std::copy_n(path.begin(), std::min(path.size(), buffer.size()), buffer.begin());
    return directory_result;
  }

  ItemIdList next_item_list_ = 0x5000;
  RegistryKey next_key_ = kFirstOpenedKey;
  std::map<ItemIdList, std::int32_t> item_folders_;
  std::map<RegistryKey, std::string> key_paths_;
};

}  // namespace corvella::testing
