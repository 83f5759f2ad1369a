#include "files/file_services_win32.hpp"

#include <shlobj.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "core/last_error_win32.hpp"
#include "core/unicode_win32.hpp"
#include "files/whole_file_win32.hpp"

namespace corvella {

// The portable copies of the SDK's values.
static_assert(kAttributeHidden == FILE_ATTRIBUTE_HIDDEN);
static_assert(kAttributeSystem == FILE_ATTRIBUTE_SYSTEM);
static_assert(kAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY);

namespace {

// A path as the failures name it.
std::string Quoted(std::string_view path) { return "'" + std::string(path) + "'"; }

// Runs the search and hands every entry other than "." and ".." to visit.
// A folder or pattern that matches nothing is an empty result, not a failure.
template <typename Visit>
void ForEachEntry(std::string_view pattern, Visit&& visit) {
  const std::wstring wide_pattern = Utf8ToWide(pattern);
  WIN32_FIND_DATAW entry{};
  ScopedFind search(::FindFirstFileW(wide_pattern.c_str(), &entry));
  if (!search) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES) return;
    ThrowLastError("cannot search " + Quoted(pattern));
  }
  do {
    const std::wstring_view name(entry.cFileName);
    if (name == L"." || name == L"..") continue;
    if (!visit(static_cast<std::uint32_t>(entry.dwFileAttributes), name)) return;
  } while (::FindNextFileW(search.Get(), &entry));
  if (::GetLastError() != ERROR_NO_MORE_FILES) ThrowLastError("cannot search " + Quoted(pattern));
}

}  // namespace

std::string Win32FileServices::FirstMatchingFile(std::string_view pattern) {
  std::string found;
  ForEachEntry(pattern, [&](std::uint32_t attributes, std::wstring_view name) {
    if (!IsNormalFileEntry(attributes)) return true;
    found = WideToUtf8(name);
    return false;
  });
  return found;
}

std::vector<std::string> Win32FileServices::FindAllFiles(std::string_view pattern) {
  std::vector<std::string> names;
  ForEachEntry(pattern, [&](std::uint32_t attributes, std::wstring_view name) {
    if (IsFileEntry(attributes)) names.push_back(WideToUtf8(name));
    return true;
  });
  return names;
}

std::int16_t Win32FileServices::FreeFileNumber() { return open_files_.FreeNumber(); }

void Win32FileServices::CreateNew(std::int16_t file_number, std::string_view path) {
  open_files_.CheckAvailable(file_number);
  const std::wstring wide_path = Utf8ToWide(path);
  ScopedFile file(
      ::CreateFileW(wide_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowLastError("cannot create " + Quoted(path));
  open_files_.Add(file_number, std::move(file));
}

void Win32FileServices::Write(std::int16_t file_number, std::span<const std::uint8_t> bytes) {
  WriteAll(open_files_.At(file_number).Get(), bytes, "file number " + std::to_string(file_number));
}

void Win32FileServices::Close(std::int16_t file_number) {
  ScopedFile file = open_files_.Remove(file_number);
  if (!file.Reset()) ThrowLastError("cannot close file number " + std::to_string(file_number));
}

std::optional<std::vector<std::uint8_t>> Win32FileServices::ReadFileOfSize(std::string_view path, std::uint64_t size) {
  const std::wstring wide_path = Utf8ToWide(path);
  const ScopedFile file(::CreateFileW(wide_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowLastError("cannot open " + Quoted(path));
  LARGE_INTEGER actual{};
  if (!::GetFileSizeEx(file.Get(), &actual)) ThrowLastError("cannot size " + Quoted(path));
  if (static_cast<std::uint64_t>(actual.QuadPart) != size) return std::nullopt;
  if (size > INT_MAX) ThrowServiceFailure(Quoted(path) + " is too large to read");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  ReadExactly(file.Get(), bytes, Quoted(path));
  return bytes;
}

void Win32FileServices::Delete(std::string_view path) {
  const std::wstring wide_path = Utf8ToWide(path);
  if (!::DeleteFileW(wide_path.c_str())) ThrowLastError("cannot delete " + Quoted(path));
}

// Without SHCNF_FLUSH: the shell takes the news on its own time and the
// program waits for nothing.
void Win32FileServices::Announce(FileChange change, std::string_view path) {
  const std::wstring wide_path = Utf8ToWide(path);
  ::SHChangeNotify(change == FileChange::Created ? SHCNE_CREATE : SHCNE_DELETE, SHCNF_PATHW, wide_path.c_str(),
                   nullptr);
}

}  // namespace corvella
