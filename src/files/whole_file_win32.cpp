#include "files/whole_file_win32.hpp"

#include <algorithm>
#include <array>

#include "core/last_error_win32.hpp"
#include "core/scoped_handle_win32.hpp"

namespace corvella {
namespace {

constexpr DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// A new, empty file with a name of its own in the folder, removed again
// unless it has been moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::wstring& folder) {
    std::array<wchar_t, MAX_PATH> name{};
    if (::GetTempFileNameW(folder.c_str(), L"lay", 0, name.data()) == 0) {
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
