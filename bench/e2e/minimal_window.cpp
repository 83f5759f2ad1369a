// The least a window like Corvella's does before it shows: common controls 6
// through its manifest, the desktop folder's path asked of the shell as
// Corvella asks it, one window painted. The benchmark holds Corvella's start
// against it.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shlobj.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/, int show) {
  INITCOMMONCONTROLSEX common_controls{sizeof(common_controls), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&common_controls);
  PIDLIST_ABSOLUTE desktop_list = nullptr;
  ::SHGetSpecialFolderLocation(::GetDesktopWindow(), CSIDL_DESKTOP, &desktop_list);
  wchar_t desktop[MAX_PATH] = {};
  ::SHGetPathFromIDListW(desktop_list, desktop);
  ::ILFree(desktop_list);

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  window_class.lpszClassName = L"MinimalWindow";
  ::RegisterClassExW(&window_class);
  const HWND window = ::CreateWindowExW(0, L"MinimalWindow", L"Minimal window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                        CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
  ::ShowWindow(window, show);
  ::UpdateWindow(window);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
