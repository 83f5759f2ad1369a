// The program's entry point: makes the Win32 services, hands them and the
// window's layout to the window's logic and runs the window.
#include <exception>

#include "app/form1.hpp"
#include "app/main_window_layout.hpp"
#include "arrange/window_system_win32.hpp"
#include "files/file_services_win32.hpp"
#include "files/resource_reader_win32.hpp"
#include "folders/folder_platform_win32.hpp"
#include "form/form_win32.hpp"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/, int /*show*/) {
  try {
    corvella::Win32Form form(corvella::MainWindowLayout(), instance);
    corvella::Win32WindowSystem windows;
    corvella::Win32FileServices files;
    corvella::Win32ResourceReader resources;
    corvella::Win32FolderPlatform folders;
    corvella::Form1 form1(form, windows, files, resources, folders);
    return form.Run(form1);
  } catch (const std::exception&) {
    // A fault of the program itself, not of a statement: nothing is shown,
    // the exit code tells.
    return 1;
  }
}
