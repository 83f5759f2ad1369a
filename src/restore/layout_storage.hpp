// Where the saved layout is kept between runs: one file, replaced whole,
// the previous one it replaced, the backup it becomes once it has been
// restored, and the record of Corvella's last picture.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvella {

// Each call raises a RuntimeError (ServiceFailure) when it fails.
class LayoutStorage {
 public:
  virtual ~LayoutStorage() = default;

  // The saved text, or nullopt when nothing is saved.
  virtual std::optional<std::string> Load() = 0;
  // Replaces the saved text at once: a failure leaves the earlier text whole,
  // and the text replaced stays as the previous one (one level).
  virtual void Save(std::string_view content) = 0;
  // Copies the saved text aside as the newer layout, unless one is kept
  // there already; no save ever replaces that copy.
  virtual void KeepNewer() = 0;
  // The saved text becomes the backup, replacing an older one; nothing is
  // saved afterwards.
  virtual void MarkRestored() = 0;
  // The record of where Corvella's last arrangement put each item, in the
  // saved layout's format; nullopt when there is none.
  virtual std::optional<std::string> LoadPicture() = 0;
  virtual void SavePicture(std::string_view content) = 0;
  // Removes the record; having none is no failure.
  virtual void ForgetPicture() = 0;
  // Where the saved text is kept, as the user finds it (UTF-8); never fails.
  [[nodiscard]] virtual std::string Location() const = 0;
};

}  // namespace corvella
