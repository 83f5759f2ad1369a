#include "saved_layout_files.hpp"

#include <windows.h>
// shlobj.h needs windows.h first.
#include <shlobj.h>

#include <sstream>

#include "driver_windows.hpp"
#include "standin_client.hpp"

namespace corvella::e2e {
namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) {
    fields.push_back(field);
  }
  return fields;
}

bool ReadNumber(const std::string& text, int& number) {
  std::size_t used = 0;
  try {
    number = std::stoi(text, &used);
  } catch (const std::exception&) {
    return false;
  }
  return used == text.size();
}

}  // namespace

std::wstring SavedLayoutFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    throw ScenarioFailed("the shell reports no local application data folder");
  }
  return std::wstring(folder) + L"\\Corvella";
}

std::wstring SavedLayoutPath() { return SavedLayoutFolder() + L"\\layout.tsv"; }

std::wstring RestoredLayoutPath() { return SavedLayoutFolder() + L"\\layout-restored.tsv"; }

std::wstring PreviousLayoutPath() { return SavedLayoutFolder() + L"\\layout-previous.tsv"; }

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveSavedLayouts() {
  const std::wstring folder = SavedLayoutFolder();
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    if (!::DeleteFileW(folder.c_str())) {
      throw ScenarioFailed("cannot delete the file " + ToUtf8(folder));
    }
    return;
  }
  EmptyFolder(folder);
  if (!::RemoveDirectoryW(folder.c_str())) {
    throw ScenarioFailed("cannot remove " + ToUtf8(folder));
  }
}

std::optional<SavedLayoutFile> ReadSavedLayout() {
  std::string bytes;
  if (!ReadBytes(SavedLayoutPath(), bytes)) {
    return std::nullopt;
  }
  std::istringstream lines(bytes);
  std::string line;
  if (!std::getline(lines, line)) {
    return std::nullopt;
  }
  const std::vector<std::string> header = Fields(line);
  if (header.size() != 8 || header[0] != "corvella-layout 2") {  // with the view's icon grid
    return std::nullopt;
  }
  SavedLayoutFile file{header[1], {}};
  while (std::getline(lines, line)) {
    const std::vector<std::string> fields = Fields(line);
    SavedLine item;
    if (fields.size() != 4 || !ReadNumber(fields[1], item.occurrence) || !ReadNumber(fields[2], item.x) ||
        !ReadNumber(fields[3], item.y)) {
      return std::nullopt;
    }
    item.name = fields[0];
    file.items.push_back(item);
  }
  return file;
}

}  // namespace corvella::e2e
