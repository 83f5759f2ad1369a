#include "files/whole_file_win32.hpp"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/last_error_win32.hpp"
#include "core/scoped_handle_win32.hpp"

namespace corvella {
namespace {

constexpr DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
constexpr const wchar_t* kTemporaryPrefix = L"lay";

bool IsHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }

// The names GetTempFileNameW gives: the prefix, one to four hex digits, ".tmp".
bool IsTemporaryName(std::wstring_view name) {
  const std::wstring_view prefix = kTemporaryPrefix;
  constexpr std::wstring_view kSuffix = L".tmp";
  if (!name.starts_with(prefix) || !name.ends_with(kSuffix)) return false;
  const std::wstring_view digits = name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
  return !digits.empty() && digits.size() <= 4 && std::ranges::all_of(digits, IsHexDigit);
}

// A new, empty file with a name of its own in the folder, removed again
// unless it has been moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::wstring& folder) {
    std::array<wchar_t, MAX_PATH> name{};
    if (::GetTempFileNameW(folder.c_str(), kTemporaryPrefix, 0, name.data()) == 0) {
      ThrowLastError("cannot create a temporary file");
    }
    path_ = name.data();
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!moved_) ::DeleteFileW(path_.c_str());
  }

  [[nodiscard]] const std::wstring& Path() const { return path_; }
  void MoveTo(const std::wstring& target) {
    MoveFileOver(path_, target);
    moved_ = true;
  }

 private:
  std::wstring path_;
  bool moved_ = false;
};

}  // namespace

void ReadExactly(HANDLE file, std::span<std::uint8_t> bytes, const std::string& what) {
  while (!bytes.empty()) {
    DWORD read = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), MAXDWORD));
    if (!::ReadFile(file, bytes.data(), chunk, &read, nullptr)) ThrowLastError("cannot read " + what);
    if (read == 0) ThrowServiceFailure(what + " shrank while it was read");
    bytes = bytes.subspan(read);
  }
}

void WriteAll(HANDLE file, std::span<const std::uint8_t> bytes, const std::string& what) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), MAXDWORD));
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
      ThrowLastError("cannot write " + what);
    }
    bytes = bytes.subspan(written);
  }
}

void MoveFileOver(const std::wstring& from, const std::wstring& to) {
  if (!::MoveFileExW(from.c_str(), to.c_str(), kReplace)) ThrowLastError("cannot replace a file");
}

void RemoveLeftoverTemporaryFiles(const std::wstring& folder) {
  WIN32_FIND_DATAW entry{};
  const ScopedFind search(::FindFirstFileW((folder + L"\\" + kTemporaryPrefix + L"*.tmp").c_str(), &entry));
  if (!search) return;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsTemporaryName(entry.cFileName)) {
      ::DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
    }
  } while (::FindNextFileW(search.Get(), &entry));
}

void ReplaceFileAtomically(const std::wstring& folder, const std::wstring& target,
                           std::span<const std::uint8_t> bytes) {
  TemporaryFile temporary(folder);
  {
    const ScopedFile file(::CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError("cannot open a temporary file");
    WriteAll(file.Get(), bytes, "a temporary file");
    if (!::FlushFileBuffers(file.Get())) ThrowLastError("cannot flush a temporary file");
  }
  temporary.MoveTo(target);
}

}  // namespace corvella
