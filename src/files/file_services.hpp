// The file services the program uses, on paths and wildcard patterns in
// UTF-8 with backslash separators, as Windows writes them. Every failure
// raises a RuntimeError (ServiceFailure).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvella {

enum class FileChange { Created, Deleted };

class FileServices {
 public:
  virtual ~FileServices() = default;

  // Name, without folder, of the first normal file that matches; "" when
  // none. Hidden and system files and folders are not reported.
  virtual std::string FirstMatchingFile(std::string_view pattern) = 0;
  // Names, without folder, of every file that matches (hidden and system
  // files included, folders not).
  virtual std::vector<std::string> FindAllFiles(std::string_view pattern) = 0;

  // A file number that no open file uses.
  virtual std::int16_t FreeFileNumber() = 0;
  // Creates the file for writing bytes from its start; fails when anything
  // (a file of any attributes, a folder) already stands at the path, so an
  // existing file is never truncated.
  virtual void CreateNew(std::int16_t file_number, std::string_view path) = 0;
  // The bytes alone, at the current position.
  virtual void Write(std::int16_t file_number, std::span<const std::uint8_t> bytes) = 0;
  // Completes the file and frees its number.
  virtual void Close(std::int16_t file_number) = 0;

  // The whole content of a file whose size is `size`; nullopt, with nothing
  // read, for a file of any other size, so that a huge file never has to fit
  // in memory.
  virtual std::optional<std::vector<std::uint8_t>> ReadFileOfSize(std::string_view path, std::uint64_t size) = 0;
  // Deletes one file (no wildcard).
  virtual void Delete(std::string_view path) = 0;

  // Tells the shell that the file at path came or went, so that the desktop
  // shows it at once instead of when its watch of the folder notices.
  virtual void Announce(FileChange change, std::string_view path) = 0;
};

}  // namespace corvella
