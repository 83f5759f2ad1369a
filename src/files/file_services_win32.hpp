// The file services over kernel32: searches, exclusive creation, byte
// output by file number, whole-file reads and deletion. Paths arrive in UTF-8
// and reach the W functions in UTF-16; every failure raises a RuntimeError.
#pragma once

#include "core/scoped_handle_win32.hpp"
#include "files/file_numbers.hpp"
#include "files/file_services.hpp"

namespace corvella {

class Win32FileServices final : public FileServices {
 public:
  std::string FirstMatchingFile(std::string_view pattern) override;
  std::vector<std::string> FindAllFiles(std::string_view pattern) override;

  std::int16_t FreeFileNumber() override;
  void CreateNew(std::int16_t file_number, std::string_view path) override;
  void Write(std::int16_t file_number, std::span<const std::uint8_t> bytes) override;
  void Close(std::int16_t file_number) override;

  std::optional<std::vector<std::uint8_t>> ReadFileOfSize(std::string_view path, std::uint64_t size) override;
  void Delete(std::string_view path) override;
  void Announce(FileChange change, std::string_view path) override;

 private:
  FileNumberTable<ScopedFile> open_files_;
};

}  // namespace corvella
