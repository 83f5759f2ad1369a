// Corvella's saved layout as the driver finds it in the prefix: the folder
// in the local application data, the file and its backup, and a reader of
// the driver's own for the file's lines.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvella::e2e {

struct SavedLine {
  std::string name;  // UTF-8, as the file holds it
  int occurrence = 0;
  int x = 0;
  int y = 0;
};

struct SavedLayoutFile {
  std::string saved_at;  // "YYYY-MM-DD HH:MM:SS"
  std::vector<SavedLine> items;
};

std::wstring SavedLayoutFolder();
std::wstring SavedLayoutPath();     // layout.tsv
std::wstring RestoredLayoutPath();  // layout-restored.tsv, once restored
std::wstring PreviousLayoutPath();  // layout-previous.tsv, the layout a save replaced
bool FileExists(const std::wstring& path);
// Takes the folder away, or a file in its place, so that nothing is saved.
void RemoveSavedLayouts();
// Nothing when the file is missing or its lines do not read.
std::optional<SavedLayoutFile> ReadSavedLayout();

}  // namespace corvella::e2e
