// The program's entry point: makes the Win32 services and either runs the
// window, or, with "/restore", puts the saved layout back without one, or
// shows how to use a command line it does not understand.
#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

#include "app/command_line.hpp"
#include "app/form1.hpp"
#include "app/main_window_layout.hpp"
#include "app/single_instance_win32.hpp"
#include "app/way_back.hpp"
#include "app/way_back_messages.hpp"
#include "core/resume_next.hpp"
#include "core/unicode_win32.hpp"
#include "files/file_services_win32.hpp"
#include "files/resource_reader_win32.hpp"
#include "folders/folder_platform_win32.hpp"
#include "folders/system_folder.hpp"
#include "form/form_win32.hpp"
#include "restore/layout_storage_win32.hpp"
#include "shell/folder_view_win32.hpp"
#include "shell/remote_memory_win32.hpp"
#include "shell/window_system_win32.hpp"

namespace corvella {
namespace {

constexpr const wchar_t* kTitle = L"Corvella";

CommandLine ReadCommandLine() {
  const std::wstring_view line(::GetCommandLineW());
  return ParseCommandLine(std::u16string(line.begin(), line.end()));
}

SavedTime LocalTimeNow() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void Pause(int milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds)); }

void CallOffWaitingHearts() { Win32Form::PostNotice(MainWindowLayout(), FormNotice::LayoutRestored); }

void Tell(std::string_view text, UINT icon) {
  std::wstring wide = L"?";
  ResumeNext([&] { wide = Utf8ToWide(text); });
  ::MessageBoxW(nullptr, wide.c_str(), kTitle, MB_OK | icon);
}

// Everything the window and the way back run on.
struct Services {
  Win32WindowSystem windows;
  Win32FileServices files;
  Win32ResourceReader resources;
  Win32FolderPlatform folders;
  Win32LayoutStorage storage = Win32LayoutStorage::ForCurrentUser();
  Win32RemoteMemoryProvider memory;
  Win32FolderViewHost folder_view_host;
  DesktopFolderView folder_view{folder_view_host};
  WayBack way_back{storage, windows, memory, folder_view, files, resources, Pause, LocalTimeNow, CallOffWaitingHearts};
};

// "/restore": whether or not a Corvella window is open, whose waiting heart
// it calls off; the exit code says how it went.
int RestoreFromCommandLine(bool quiet) {
  Services services;
  std::string desktop;
  ResumeNext([&] { desktop = clsSystemFolder(services.folders).Desktop(); });
  const RestoreResult result = services.way_back.Restore(desktop).result;
  const int exit_code = RestoreExitCode(result.outcome);
  const std::string report = RestoreReport(result);
  if (!quiet && !report.empty()) Tell(report, exit_code == 0 ? MB_ICONINFORMATION : MB_ICONWARNING);
  return exit_code;
}

// A switch the program does not know: a script that meant something else
// would otherwise wait on a window that nobody sees. Under /quiet nobody may
// be there to close a box either, so the exit code alone tells.
int RefuseCommandLine(bool quiet) {
  if (!quiet) Tell(CommandLineUsage(), MB_ICONWARNING);
  return kUsageExitCode;
}

int RunWindow(HINSTANCE instance) {
  const SingleInstance instance_lock;
  if (!instance_lock.IsFirst()) {
    BringWindowToFront(Win32Form::WindowClassName(MainWindowLayout()));
    return 0;
  }
  Services services;
  Win32Form form(MainWindowLayout(), instance);
  Form1 form1(form, services.windows, services.folder_view, services.files, services.resources, services.folders,
              services.way_back);
  return form.Run(form1);
}

}  // namespace
}  // namespace corvella

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/, int /*show*/) {
  bool quiet = false;
  try {
    const corvella::CommandLine command_line = corvella::ReadCommandLine();
    quiet = command_line.quiet;
    if (command_line.misused) return corvella::RefuseCommandLine(quiet);
    if (command_line.restore) return corvella::RestoreFromCommandLine(quiet);
    return corvella::RunWindow(instance);
  } catch (const std::exception& fault) {
    // A fault of the program itself, not of a statement: the user is told
    // why Corvella stopped, unless /quiet asked for no box; the exit code
    // tells too.
    if (!quiet) {
      std::string text = "Corvella は予期しない障害のため終了します。\n\n";
      text += fault.what();
      corvella::Tell(text, MB_ICONERROR);
    }
    return 1;
  }
}
