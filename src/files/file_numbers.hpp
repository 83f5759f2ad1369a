// The bookkeeping behind the Win32 file services, kept apart from the file
// system so that it can be checked on any host: which file numbers are open,
// and which directory entries a search reports.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "core/runtime_error.hpp"

namespace corvella {

// Directory entry attributes as the file system reports them.
inline constexpr std::uint32_t kAttributeHidden = 0x2;
inline constexpr std::uint32_t kAttributeSystem = 0x4;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;

// Every file, whatever its attributes; no folder.
constexpr bool IsFileEntry(std::uint32_t attributes) { return (attributes & kAttributeDirectory) == 0; }

// A file that a search with the normal attribute filter reports: neither a
// folder nor hidden nor system (read-only and archived files are normal).
constexpr bool IsNormalFileEntry(std::uint32_t attributes) {
  return (attributes & (kAttributeDirectory | kAttributeHidden | kAttributeSystem)) == 0;
}

// Open files by number, 1 to 255. Each number holds one open file at a time.
template <typename File>
class FileNumberTable {
 public:
  static constexpr std::int16_t kFirst = 1;
  static constexpr std::int16_t kLast = 255;

  // The lowest number that no open file uses.
  [[nodiscard]] std::int16_t FreeNumber() const {
    for (std::int16_t number = kFirst; number <= kLast; ++number) {
      if (!files_.contains(number)) return number;
    }
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "too many open files");
  }

  // Fails for a number out of range or already in use; the file is then not
  // taken, so its owner can still close it.
  void CheckAvailable(std::int16_t number) const {
    if (number < kFirst || number > kLast) {
      throw RuntimeError(RuntimeErrorKind::ServiceFailure, "bad file number");
    }
    if (files_.contains(number)) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "file number already open");
  }

  void Add(std::int16_t number, File file) {
    CheckAvailable(number);
    files_.emplace(number, std::move(file));
  }

  // The open file, or a failure for a number that holds none.
  File& At(std::int16_t number) {
    const auto found = files_.find(number);
    if (found == files_.end()) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "file number not open");
    return found->second;
  }

  // Frees the number and hands its file back; a failure when none is open.
  File Remove(std::int16_t number) {
    const auto found = files_.find(number);
    if (found == files_.end()) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "file number not open");
    File file = std::move(found->second);
    files_.erase(found);
    return file;
  }

 private:
  std::map<std::int16_t, File> files_;
};

}  // namespace corvella
