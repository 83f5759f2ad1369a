#include "restore/layout_storage_win32.hpp"

#include <shlobj.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <span>

#include "core/last_error_win32.hpp"
#include "core/scoped_handle_win32.hpp"
#include "core/unicode_win32.hpp"
#include "files/whole_file_win32.hpp"

namespace corvella {
namespace {

constexpr std::wstring_view kProgramFolder = L"\\Corvella";
constexpr std::wstring_view kLayoutFile = L"\\layout.tsv";
constexpr std::wstring_view kBackupFile = L"\\layout-restored.tsv";
constexpr std::wstring_view kPreviousFile = L"\\layout-previous.tsv";
constexpr std::wstring_view kNewerFile = L"\\layout-newer.tsv";
constexpr std::wstring_view kPictureFile = L"\\last-picture.tsv";
constexpr std::int64_t kLargestLayout = 16 * 1024 * 1024;

std::wstring LocalAppDataFolder() {
  std::array<wchar_t, MAX_PATH> path{};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path.data()))) {
    ThrowServiceFailure("the system names no local application data folder");
  }
  return path.data();
}

void CreateFolder(const std::wstring& folder) {
  if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    ThrowLastError("cannot create the layout folder");
  }
}

ScopedFile OpenForReading(const std::wstring& path) {
  return ScopedFile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::int64_t FileSize(HANDLE file) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) ThrowLastError("cannot measure the layout file");
  return size.QuadPart;
}

// A copy, not a move: until the new file is in place, the old one stays.
void KeepAsPrevious(const std::wstring& layout, const std::wstring& previous) {
  if (!::CopyFileW(layout.c_str(), previous.c_str(), FALSE) && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
    ThrowLastError("cannot keep the earlier layout as layout-previous.tsv");
  }
}

}  // namespace

Win32LayoutStorage Win32LayoutStorage::ForCurrentUser() {
  try {
    return Win32LayoutStorage(LocalAppDataFolder() + std::wstring(kProgramFolder));
  } catch (const RuntimeError&) {
    return Win32LayoutStorage(L"");
  }
}

std::wstring Win32LayoutStorage::PathOf(std::wstring_view file) const {
  // Without its folder a name would land in the root of the current drive.
  if (folder_.empty()) ThrowServiceFailure("no folder for the saved layout");
  return folder_ + std::wstring(file);
}

std::optional<std::string> Win32LayoutStorage::Load() { return LoadFile(kLayoutFile); }

std::optional<std::string> Win32LayoutStorage::LoadFile(std::wstring_view name) {
  const ScopedFile file = OpenForReading(PathOf(name));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    ThrowLastError("cannot open the layout file");
  }
  const std::int64_t size = FileSize(file.Get());
  if (size > kLargestLayout) ThrowServiceFailure("the layout file is too large");
  std::string content(static_cast<std::size_t>(size), '\0');
  ReadExactly(file.Get(), std::span(reinterpret_cast<std::uint8_t*>(content.data()), content.size()),
              "the layout file");
  return content;
}

void Win32LayoutStorage::Save(std::string_view content) {
  CreateFolder(folder_);
  RemoveLeftoverTemporaryFiles(folder_);
  KeepAsPrevious(PathOf(kLayoutFile), PathOf(kPreviousFile));
  WriteFileWhole(kLayoutFile, content);
}

void Win32LayoutStorage::WriteFileWhole(std::wstring_view name, std::string_view content) {
  ReplaceFileAtomically(folder_, PathOf(name),
                        std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
}

// The first newer layout kept stays: a later one never replaces it.
void Win32LayoutStorage::KeepNewer() {
  if (::CopyFileW(PathOf(kLayoutFile).c_str(), PathOf(kNewerFile).c_str(), TRUE)) return;
  if (const DWORD error = ::GetLastError(); error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
    ThrowLastError("cannot keep the newer layout as layout-newer.tsv");
  }
}

void Win32LayoutStorage::MarkRestored() { MoveFileOver(PathOf(kLayoutFile), PathOf(kBackupFile)); }

std::optional<std::string> Win32LayoutStorage::LoadPicture() { return LoadFile(kPictureFile); }

void Win32LayoutStorage::SavePicture(std::string_view content) {
  CreateFolder(folder_);
  WriteFileWhole(kPictureFile, content);
}

void Win32LayoutStorage::ForgetPicture() {
  if (::DeleteFileW(PathOf(kPictureFile).c_str())) return;
  const DWORD error = ::GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
    ThrowLastError("cannot remove the record of the last picture");
  }
}

std::string Win32LayoutStorage::Location() const {
  if (folder_.empty()) return "%LOCALAPPDATA%\\Corvella\\layout.tsv";
  return WideToUtf8(folder_ + std::wstring(kLayoutFile));
}

}  // namespace corvella
