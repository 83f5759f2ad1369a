// The program's file services on the host's own file system, so that its
// logic runs off Windows: backslashes become '/', names compare without
// regard to case as on Windows, and hooks stand in for the file attributes
// and disk faults that a POSIX host (or a test run as root) cannot produce.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/file_numbers.hpp"
#include "files/file_services.hpp"

namespace corvella {

enum class FileAttribute { Hidden, System };

class HostFileServices final : public FileServices {
 public:
  HostFileServices() = default;
  HostFileServices(const HostFileServices&) = delete;
  HostFileServices& operator=(const HostFileServices&) = delete;
  ~HostFileServices() override = default;  // closes the files left open

  // Wildcards ('*' any run of characters, '?' one character) only in the
  // last part of the pattern; the matches come in name order.
  std::string FirstMatchingFile(std::string_view pattern) override;
  std::vector<std::string> FindAllFiles(std::string_view pattern) override;
  std::int16_t FreeFileNumber() override;
  void CreateNew(std::int16_t file_number, std::string_view path) override;
  void Write(std::int16_t file_number, std::span<const std::uint8_t> bytes) override;
  void Close(std::int16_t file_number) override;
  std::optional<std::vector<std::uint8_t>> ReadFileOfSize(std::string_view path, std::uint64_t size) override;
  // As on Windows, a file that is open cannot be deleted.
  void Delete(std::string_view path) override;
  void Announce(FileChange change, std::string_view path) override { announced_.emplace_back(change, path); }
  // What the shell was told, in order.
  [[nodiscard]] const std::vector<std::pair<FileChange, std::string>>& Announced() const { return announced_; }

  // Gives the file at path an attribute the host does not keep. The mark
  // goes with the file: deleting it drops the mark.
  void Mark(std::string_view path, FileAttribute attribute);

  // Faults for tests: a folder that refuses new files, a file that cannot
  // be deleted, and a disk that fills up after this many more bytes (the
  // write that crosses the limit stores what fits, then fails).
  void RefuseNewFilesIn(std::string_view folder);
  void FailDeletionOf(std::string_view path);
  void FillDiskAfter(std::uint64_t bytes);

 private:
  struct CloseStream {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
  };
  using Stream = std::unique_ptr<std::FILE, CloseStream>;
  struct OpenFile {
    Stream stream;
    std::filesystem::path path;
  };
  struct Match {
    std::string name;
    std::filesystem::path path;
    bool is_file;
  };

  std::vector<Match> Matches(std::string_view pattern) const;
  // The entry that the path names on Windows: the same name in any case.
  std::optional<std::filesystem::path> Existing(const std::filesystem::path& path) const;
  // A hook's path: the existing entry it names, else the path itself.
  [[nodiscard]] std::filesystem::path Resolved(std::string_view path) const;
  [[nodiscard]] bool IsMarked(const std::filesystem::path& path) const;
  [[nodiscard]] bool IsOpen(const std::filesystem::path& path) const;

  FileNumberTable<OpenFile> open_;
  std::multiset<std::filesystem::path> open_paths_;
  std::map<std::filesystem::path, std::set<FileAttribute>> attributes_;
  std::set<std::filesystem::path> refusing_folders_;
  std::set<std::filesystem::path> undeletable_;
  std::optional<std::uint64_t> disk_space_;
  std::vector<std::pair<FileChange, std::string>> announced_;
};

}  // namespace corvella
