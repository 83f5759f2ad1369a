#include "restore/layout_storage_win32.hpp"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/runtime_error.hpp"
#include "core/scoped_handle_win32.hpp"
#include "core/unicode_win32.hpp"

namespace corvella {
namespace {

constexpr std::wstring_view kProgramFolder = L"\\Corvella";
constexpr std::wstring_view kLayoutFile = L"\\layout.tsv";
constexpr std::wstring_view kBackupFile = L"\\layout-restored.tsv";
constexpr std::int64_t kLargestLayout = 16 * 1024 * 1024;
constexpr DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

[[noreturn]] void Fail(const char* what) {
  throw RuntimeError(RuntimeErrorKind::ServiceFailure,
                     std::string(what) + " (error " + std::to_string(::GetLastError()) + ")");
}

std::wstring LocalAppDataFolder() {
  std::array<wchar_t, MAX_PATH> path{};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path.data()))) {
    Fail("the system names no local application data folder");
  }
  return path.data();
}

void CreateFolder(const std::wstring& folder) {
  if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    Fail("cannot create the layout folder");
  }
}

ScopedFile OpenForReading(const std::wstring& path) {
  return ScopedFile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::int64_t FileSize(HANDLE file) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) Fail("cannot measure the layout file");
  return size.QuadPart;
}

std::string ReadWhole(HANDLE file, std::size_t size) {
  std::string content(size, '\0');
  for (std::size_t done = 0; done < size;) {
    DWORD read = 0;
    if (!::ReadFile(file, content.data() + done, static_cast<DWORD>(size - done), &read, nullptr)) {
      Fail("cannot read the layout file");
    }
    if (read == 0) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "the layout file shrank while it was read");
    done += read;
  }
  return content;
}

void WriteWhole(HANDLE file, std::string_view content) {
  while (!content.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), MAXDWORD));
    if (!::WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0) {
      Fail("cannot write the layout file");
    }
    content.remove_prefix(written);
  }
}

void Flush(HANDLE file) {
  if (!::FlushFileBuffers(file)) Fail("cannot flush the layout file");
}

void Replace(const std::wstring& from, const std::wstring& to) {
  if (!::MoveFileExW(from.c_str(), to.c_str(), kReplace)) Fail("cannot replace a layout file");
}

// A new, empty file with a name of its own in the folder, removed again
// unless it has been moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::wstring& folder) {
    std::array<wchar_t, MAX_PATH> name{};
    if (::GetTempFileNameW(folder.c_str(), L"lay", 0, name.data()) == 0) Fail("cannot create a temporary file");
    path_ = name.data();
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!moved_) ::DeleteFileW(path_.c_str());
  }

  [[nodiscard]] const std::wstring& Path() const { return path_; }
  void MoveTo(const std::wstring& target) {
    Replace(path_, target);
    moved_ = true;
  }

 private:
  std::wstring path_;
  bool moved_ = false;
};

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
  if (folder_.empty()) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "no folder for the saved layout");
  return folder_ + std::wstring(file);
}

std::optional<std::string> Win32LayoutStorage::Load() {
  const ScopedFile file = OpenForReading(PathOf(kLayoutFile));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    Fail("cannot open the layout file");
  }
  const std::int64_t size = FileSize(file.Get());
  if (size > kLargestLayout) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "the layout file is too large");
  return ReadWhole(file.Get(), static_cast<std::size_t>(size));
}

void Win32LayoutStorage::Save(std::string_view content) {
  const std::wstring target = PathOf(kLayoutFile);
  CreateFolder(folder_);
  TemporaryFile temporary(folder_);
  {
    const ScopedFile file(::CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("cannot open a temporary file");
    WriteWhole(file.Get(), content);
    Flush(file.Get());
  }
  temporary.MoveTo(target);
}

void Win32LayoutStorage::MarkRestored() { Replace(PathOf(kLayoutFile), PathOf(kBackupFile)); }

std::string Win32LayoutStorage::Location() const {
  if (folder_.empty()) return "%LOCALAPPDATA%\\Corvella\\layout.tsv";
  return WideToUtf8(folder_ + std::wstring(kLayoutFile));
}

}  // namespace corvella
