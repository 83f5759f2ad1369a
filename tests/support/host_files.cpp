#include "host_files.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/runtime_error.hpp"
#include "core/unicode.hpp"

namespace corvella {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what) { throw RuntimeError(RuntimeErrorKind::ServiceFailure, what); }

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

// The path as the host writes it; the program writes Windows separators.
fs::path ToHost(std::string_view path) {
  std::string host(path);
  std::replace(host.begin(), host.end(), '\\', '/');
  return fs::path(host).lexically_normal();
}

fs::path PlainPath(std::string_view path) {
  if (path.empty() || HasWildcard(path)) {
    Fail("bad file name: " + std::string(path));
  }
  return ToHost(path);
}

fs::path FolderOf(const fs::path& path) { return path.parent_path(); }

fs::directory_iterator Listing(const fs::path& folder, std::error_code& error) {
  return fs::directory_iterator(folder.empty() ? fs::path(".") : folder, error);
}

// Code points for matching, letters folded to one case. Each byte of a
// broken UTF-8 sequence stands for itself, above the Unicode range, so that
// it meets no letter and no wildcard: an overlong '*' or 'A' is neither.
std::u32string Folded(std::string_view text) {
  std::u32string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    const std::optional<char32_t> code = DecodeUtf8(text, pos);
    if (!code) {
      for (std::size_t i = start; i < pos; ++i) {
        out += static_cast<char32_t>(0x110000 + static_cast<unsigned char>(text[i]));
      }
    } else if (*code >= U'A' && *code <= U'Z') {
      out += *code + (U'a' - U'A');
    } else {
      out += *code;
    }
  }
  return out;
}

// '*' matches any run of characters, '?' exactly one.
bool WildcardMatch(std::u32string_view pattern, std::u32string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::optional<std::size_t> star;
  std::size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      star = p++;
      star_name = n;
    } else if (star) {
      p = *star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') {
    ++p;
  }
  return p == pattern.size();
}

}  // namespace

std::vector<HostFileServices::Match> HostFileServices::Matches(std::string_view pattern) const {
  const fs::path host = ToHost(pattern);
  const fs::path folder = FolderOf(host);
  if (HasWildcard(folder.string())) {
    Fail("wildcards only in the file name: " + std::string(pattern));
  }
  const std::u32string wanted = Folded(host.filename().string());
  std::vector<Match> matches;
  std::error_code error;
  // A folder that does not exist holds no match.
  for (auto it = Listing(folder, error), end = fs::directory_iterator(); !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!wanted.empty() && WildcardMatch(wanted, Folded(name))) {
      std::error_code status_error;
      matches.push_back({name, folder / name, it->is_regular_file(status_error)});
    }
  }
  std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
    const std::u32string fa = Folded(a.name);
    const std::u32string fb = Folded(b.name);
    return fa != fb ? fa < fb : a.name < b.name;
  });
  return matches;
}

std::optional<fs::path> HostFileServices::Existing(const fs::path& path) const {
  std::error_code error;
  if (fs::exists(fs::symlink_status(path, error))) {
    return path;
  }
  const std::u32string wanted = Folded(path.filename().string());
  for (auto it = Listing(FolderOf(path), error), end = fs::directory_iterator(); !error && it != end;
       it.increment(error)) {
    if (Folded(it->path().filename().string()) == wanted) {
      return FolderOf(path) / it->path().filename();
    }
  }
  return std::nullopt;
}

std::string HostFileServices::FirstMatchingFile(std::string_view pattern) {
  for (const Match& match : Matches(pattern)) {
    if (match.is_file && !IsMarked(match.path)) {
      return match.name;
    }
  }
  return {};
}

std::vector<std::string> HostFileServices::FindAllFiles(std::string_view pattern) {
  std::vector<std::string> names;
  for (const Match& match : Matches(pattern)) {
    if (match.is_file) {
      names.push_back(match.name);
    }
  }
  return names;
}

std::int16_t HostFileServices::FreeFileNumber() { return open_.FreeNumber(); }

void HostFileServices::CreateNew(std::int16_t file_number, std::string_view path) {
  const fs::path host = PlainPath(path);
  open_.CheckAvailable(file_number);
  if (refusing_folders_.contains(FolderOf(host))) {
    Fail("the folder refuses new files: " + host.string());
  }
  if (Existing(host)) {
    Fail("already exists: " + host.string());
  }
  // "x": the creation itself fails if something appeared meanwhile.
  std::FILE* stream = std::fopen(host.c_str(), "wbx");
  if (stream == nullptr) {
    Fail("cannot create " + host.string());
  }
  attributes_.erase(host);
  open_.Add(file_number, OpenFile{Stream(stream), host});
  open_paths_.insert(host);
}

void HostFileServices::Write(std::int16_t file_number, std::span<const std::uint8_t> bytes) {
  OpenFile& file = open_.At(file_number);
  std::size_t room = bytes.size();
  if (disk_space_) {
    room = static_cast<std::size_t>(std::min<std::uint64_t>(room, *disk_space_));
    *disk_space_ -= room;
  }
  // An empty write stores nothing; fwrite is not called with no buffer.
  if ((room > 0 && std::fwrite(bytes.data(), 1, room, file.stream.get()) != room) || room != bytes.size()) {
    Fail("cannot write " + file.path.string());
  }
}

void HostFileServices::Close(std::int16_t file_number) {
  OpenFile file = open_.Remove(file_number);  // the number is free again even if the close fails
  open_paths_.erase(open_paths_.find(file.path));
  if (std::fclose(file.stream.release()) != 0) {
    Fail("cannot complete " + file.path.string());
  }
}

std::optional<std::vector<std::uint8_t>> HostFileServices::ReadFileOfSize(std::string_view path, std::uint64_t size) {
  const std::optional<fs::path> host = Existing(PlainPath(path));
  std::error_code error;
  if (!host || !fs::is_regular_file(*host, error)) {
    Fail("no file " + std::string(path));
  }
  if (fs::file_size(*host, error) != size || error) {
    return std::nullopt;
  }
  std::ifstream in(*host, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    Fail("cannot read " + host->string());
  }
  return bytes;
}

void HostFileServices::Delete(std::string_view path) {
  const std::optional<fs::path> host = Existing(PlainPath(path));
  std::error_code error;
  if (!host || fs::is_directory(fs::symlink_status(*host, error))) {
    Fail("no file " + std::string(path));
  }
  if (undeletable_.contains(*host) || IsOpen(*host)) {
    Fail("cannot delete " + host->string());
  }
  if (!fs::remove(*host, error)) {
    Fail("cannot delete " + host->string());
  }
  attributes_.erase(*host);
}

bool HostFileServices::IsMarked(const fs::path& path) const { return attributes_.contains(path); }

bool HostFileServices::IsOpen(const fs::path& path) const { return open_paths_.contains(path); }

fs::path HostFileServices::Resolved(std::string_view path) const {
  const fs::path host = PlainPath(path);
  return Existing(host).value_or(host);
}

void HostFileServices::Mark(std::string_view path, FileAttribute attribute) {
  attributes_[Resolved(path)].insert(attribute);
}

void HostFileServices::RefuseNewFilesIn(std::string_view folder) {
  const fs::path host = Resolved(folder);
  refusing_folders_.insert(host.has_filename() ? host : host.parent_path());
}

void HostFileServices::FailDeletionOf(std::string_view path) { undeletable_.insert(Resolved(path)); }

void HostFileServices::FillDiskAfter(std::uint64_t bytes) { disk_space_ = bytes; }

}  // namespace corvella
