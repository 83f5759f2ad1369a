// The saved layout in the user's local application data:
// Corvella\layout.tsv, replaced atomically through a temporary file in the
// same folder (a temporary file a cut-off save left goes at the next one),
// Corvella\layout-previous.tsv, a copy of the layout a save replaced, and
// Corvella\layout-restored.tsv once it has been restored, and
// Corvella\layout-newer.tsv, a newer Corvella's layout kept aside;
// Corvella\last-picture.tsv records the last picture.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "restore/layout_storage.hpp"

namespace corvella {

class Win32LayoutStorage final : public LayoutStorage {
 public:
  // The folder need not exist yet: the first save creates it.
  explicit Win32LayoutStorage(std::wstring folder) : folder_(std::move(folder)) {}
  // %LOCALAPPDATA%\Corvella. When the system names no such folder, every
  // call fails (RuntimeError), so nothing is kept but the window still runs.
  static Win32LayoutStorage ForCurrentUser();

  // A file above 16 MB is no layout of this program's and reads as a failure.
  std::optional<std::string> Load() override;
  void Save(std::string_view content) override;
  void KeepNewer() override;
  void MarkRestored() override;
  std::optional<std::string> LoadPicture() override;
  void SavePicture(std::string_view content) override;
  void ForgetPicture() override;
  [[nodiscard]] std::string Location() const override;

 private:
  [[nodiscard]] std::wstring PathOf(std::wstring_view file) const;
  std::optional<std::string> LoadFile(std::wstring_view file);
  // Replaces the file at once: a failure leaves the earlier one whole.
  void WriteFileWhole(std::wstring_view file, std::string_view content);

  std::wstring folder_;
};

}  // namespace corvella
