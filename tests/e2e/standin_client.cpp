#include "standin_client.hpp"

#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace corvella::e2e {

StandIn::StandIn(const std::wstring& exe, const std::wstring& arguments, const std::wstring& scratch_folder)
    : process_(std::make_unique<ChildProcess>(exe, arguments)), report_path_(scratch_folder + L"\\standin-report.txt") {
  const bool shown = WaitUntil(
      [&] {
        progman_ = FindTopLevel(process_->Id(), L"Progman", L"Program Manager");
        return progman_ != nullptr;
      },
      std::chrono::seconds(20));
  if (!shown) {
    throw ScenarioFailed("the desktop stand-in did not show its desktop");
  }
}

StandInReport StandIn::Report() const {
  ::DeleteFileW(report_path_.c_str());
  COPYDATASTRUCT data{};
  data.dwData = static_cast<ULONG_PTR>(StandInCommand::WriteReport);
  data.cbData = static_cast<DWORD>((report_path_.size() + 1) * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(report_path_.c_str());
  DWORD_PTR answer = 0;
  StandInReport report;
  if (::SendMessageTimeoutW(progman_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000,
                            &answer) == 0 ||
      answer != 1 || !ReadStandInReport(report_path_, report)) {
    throw ScenarioFailed("the desktop stand-in wrote no report");
  }
  return report;
}

namespace {

DWORD_PTR Command(HWND progman, StandInCommand command, const char* what, const void* payload = nullptr,
                  DWORD payload_size = 0) {
  COPYDATASTRUCT data{};
  data.dwData = static_cast<ULONG_PTR>(command);
  data.cbData = payload_size;
  data.lpData = const_cast<void*>(payload);
  DWORD_PTR answer = 0;
  if (::SendMessageTimeoutW(progman, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000,
                            &answer) == 0) {
    throw ScenarioFailed(std::string("the desktop stand-in did not answer ") + what);
  }
  return answer;
}

}  // namespace

void StandIn::ClearLog() const {
  if (Command(progman_, StandInCommand::ClearLog, "to clear its log") != 1) {
    throw ScenarioFailed("the desktop stand-in did not clear its log");
  }
}

std::size_t StandIn::LogSize() const {
  return static_cast<std::size_t>(Command(progman_, StandInCommand::CountLog, "how long its log is"));
}

void StandIn::Hang(std::chrono::milliseconds length) const {
  const auto millis = static_cast<std::uint32_t>(length.count());
  if (Command(progman_, StandInCommand::Hang, "to hang", &millis, sizeof(millis)) != 1) {
    throw ScenarioFailed("the desktop stand-in refused to hang");
  }
}

void StandIn::StallAt(std::uint32_t message, std::uint32_t after, std::chrono::milliseconds length) const {
  const StallRequest stall{static_cast<std::uint32_t>(length.count()), message, after};
  if (Command(progman_, StandInCommand::StallAt, "to stall", &stall, sizeof(stall)) != 1) {
    throw ScenarioFailed("the desktop stand-in refused to stall");
  }
}

void StandIn::LoseView(bool lost) const {
  if (Command(progman_, lost ? StandInCommand::LoseView : StandInCommand::BringViewBack, "about its view") != 1) {
    throw ScenarioFailed("the desktop stand-in did not lose its view or bring it back");
  }
}

void StandIn::FollowFolder() const {
  if (Command(progman_, StandInCommand::FollowFolder, "to follow the folder") != 1) {
    throw ScenarioFailed("the desktop stand-in did not start following the folder");
  }
}

StandInReport StandIn::WaitFor(const std::function<bool(const StandInReport&)>& condition, const std::string& what,
                               std::chrono::milliseconds timeout) const {
  StandInReport report;
  if (!WaitUntil(
          [&] {
            report = Report();
            return condition(report);
          },
          timeout)) {
    std::ostringstream summary;
    summary << what << " did not happen: the view shows " << report.items.size() << " items and has been sent "
            << report.log.size() << " messages";
    throw ScenarioFailed(summary.str());
  }
  return report;
}

std::wstring DesktopFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_DESKTOPDIRECTORY, TRUE)) {
    throw ScenarioFailed("the shell reports no desktop folder");
  }
  return folder;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) {
    return names;
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.emplace_back(found.cFileName);
    }
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
  return names;
}

void EmptyFolder(const std::wstring& folder) {
  for (const std::wstring& name : FilesIn(folder)) {
    const std::wstring path = folder + L"\\" + name;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileW(path.c_str())) {
      throw ScenarioFailed("cannot empty the desktop folder");
    }
  }
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) {
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

void WriteSparseFile(const std::wstring& path, std::uint64_t size) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    throw ScenarioFailed("cannot create " + ToUtf8(path));
  }
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  const bool sized = ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
  ::CloseHandle(file);
  if (!sized) {
    throw ScenarioFailed("cannot make " + ToUtf8(path) + " " + std::to_string(size) + " bytes long");
  }
}

std::optional<std::uint64_t> FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    throw ScenarioFailed("cannot write " + ToUtf8(path));
  }
}

}  // namespace corvella::e2e
