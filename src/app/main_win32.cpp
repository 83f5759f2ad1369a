// The program's entry point: makes the Win32 services, hands them and the
// window's layout to the window's logic and runs the window.
#include <exception>
#include <string>

#include "app/form1.hpp"
#include "app/main_window_layout.hpp"
#include "app/single_instance_win32.hpp"
#include "arrange/window_system_win32.hpp"
#include "core/resume_next.hpp"
#include "core/unicode_win32.hpp"
#include "files/file_services_win32.hpp"
#include "files/resource_reader_win32.hpp"
#include "folders/folder_platform_win32.hpp"
#include "form/form_win32.hpp"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/, int /*show*/) {
  try {
    const corvella::SingleInstance instance_lock;
    if (!instance_lock.IsFirst()) {
      corvella::BringWindowToFront(corvella::Win32Form::WindowClassName(corvella::MainWindowLayout()));
      return 0;
    }
    corvella::Win32Form form(corvella::MainWindowLayout(), instance);
    corvella::Win32WindowSystem windows;
    corvella::Win32FileServices files;
    corvella::Win32ResourceReader resources;
    corvella::Win32FolderPlatform folders;
    corvella::Form1 form1(form, windows, files, resources, folders);
    return form.Run(form1);
  } catch (const std::exception& fault) {
    // A fault of the program itself, not of a statement: the user is told
    // why the window went, and the exit code tells too.
    std::wstring text = L"Corvella は予期しない障害のため終了します。";
    corvella::ResumeNext([&] { text += L"\n\n" + corvella::Utf8ToWide(fault.what()); });
    ::MessageBoxW(nullptr, text.c_str(), L"Corvella", MB_OK | MB_ICONERROR);
    return 1;
  }
}
