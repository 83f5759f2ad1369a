// The file services over kernel32: searches, exclusive creation, byte
// output by file number, whole-file reads and deletion. Paths arrive in UTF-8
// and reach the W functions in UTF-16; every failure raises a RuntimeError.
#pragma once

// windows.h maps FindFirstFile to FindFirstFileW. Undone before the interface
// is read, so that the interface and this class keep the one name in every
// file that includes this header first.
#include <windows.h>
#undef FindFirstFile

#include "runtime/file_rules.hpp"
#include "runtime/file_services.hpp"
#include "runtime/scoped_handle_win32.hpp"

namespace corvella {

class Win32FileServices final : public FileServices {
 public:
  std::string FindFirstFile(std::string_view pattern) override;
  std::vector<std::string> FindAllFiles(std::string_view pattern) override;

  std::int16_t FreeFileNumber() override;
  void CreateNew(std::int16_t file_number, std::string_view path) override;
  void Write(std::int16_t file_number, std::span<const std::uint8_t> bytes) override;
  void Close(std::int16_t file_number) override;

  std::vector<std::uint8_t> ReadAll(std::string_view path) override;
  void Delete(std::string_view path) override;

 private:
  FileNumberTable<ScopedFile> open_files_;
};

}  // namespace corvella
