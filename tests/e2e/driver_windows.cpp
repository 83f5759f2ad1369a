#include "driver_windows.hpp"

#include <fstream>

namespace corvella::e2e {

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring command_line = L"\"" + exe + L"\" " + arguments;
  std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!::CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info_)) {
    throw ScenarioFailed("cannot start " + ToUtf8(exe));
  }
}

ChildProcess::~ChildProcess() {
  if (Running()) {
    ::TerminateProcess(info_.hProcess, 1);
    ::WaitForSingleObject(info_.hProcess, 5000);
  }
  ::CloseHandle(info_.hThread);
  ::CloseHandle(info_.hProcess);
}

bool ChildProcess::Running() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool ChildProcess::WaitForExit(DWORD millis) const {
  return ::WaitForSingleObject(info_.hProcess, millis) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

bool ChildProcess::Is64Bit() const {
  SYSTEM_INFO system{};
  ::GetNativeSystemInfo(&system);
  BOOL wow64 = FALSE;
  if (!::IsWow64Process(info_.hProcess, &wow64)) {
    throw ScenarioFailed("cannot tell a process's bitness");
  }
  return system.wProcessorArchitecture != PROCESSOR_ARCHITECTURE_INTEL && !wow64;
}

void Pause(std::chrono::milliseconds length) { std::this_thread::sleep_for(length); }

std::wstring BesideThisProgram(const wchar_t* file) {
  wchar_t own[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, own, MAX_PATH);
  const std::wstring path(own, length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + file;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  const auto length = static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const auto copied =
      static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(copied);
  return text;
}

namespace {

bool pointer_rests_before_clicks = false;

struct TopLevelSearch {
  DWORD process_id;
  const wchar_t* class_name;
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<TopLevelSearch*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !::IsWindowVisible(window)) {
    return TRUE;
  }
  if (search->class_name != nullptr && ClassOf(window) != search->class_name) {
    return TRUE;
  }
  if (search->caption != nullptr && TextOf(window) != search->caption) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
  reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  return TRUE;
}

void Send(std::vector<INPUT>& inputs) {
  if (::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) {
    throw ScenarioFailed("the system refused the input");
  }
}

INPUT Key(WORD virtual_key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtual_key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

HWND FindTopLevel(DWORD process_id, const wchar_t* class_name, const wchar_t* caption) {
  TopLevelSearch search{process_id, class_name, caption, nullptr};
  ::EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND ChildWithCaption(HWND parent, const std::wstring& caption) {
  for (HWND child : Children(parent)) {
    if (TextOf(child) == caption) {
      return child;
    }
  }
  throw ScenarioFailed("no control shows \"" + ToUtf8(caption) + "\"");
}

HWND ChildOfClass(HWND parent, const std::wstring& class_name) {
  for (HWND child : Children(parent)) {
    if (::lstrcmpiW(ClassOf(child).c_str(), class_name.c_str()) == 0) {
      return child;
    }
  }
  throw ScenarioFailed("no control of class " + ToUtf8(class_name));
}

HWND FocusOf(HWND top_level) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(top_level, nullptr), &info)) {
    return nullptr;
  }
  return info.hwndFocus;
}

int ScrollPositionOf(HWND scroll_bar) { return static_cast<int>(::SendMessageW(scroll_bar, SBM_GETPOS, 0, 0)); }

void ClickAt(HWND target, POINT client_point) {
  POINT screen = client_point;
  ::ClientToScreen(target, &screen);
  // Without a window manager the last window started is on top: a click
  // meant for one window must not land on another. The stand-in sends
  // itself to the bottom when it is activated, which can take a moment.
  constexpr DWORD kSettleMs = 2000;
  constexpr DWORD kPollMs = 50;
  for (DWORD waited = 0; ::GetAncestor(::WindowFromPoint(screen), GA_ROOT) != ::GetAncestor(target, GA_ROOT);
       waited += kPollMs) {
    if (waited >= kSettleMs) {
      throw ScenarioFailed("another window covers the point to click on " + ToUtf8(TextOf(target)));
    }
    ::Sleep(kPollMs);
  }
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs(3);
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, width - 1);
    input.mi.dy = MulDiv(screen.y, 65535, height - 1);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  if (pointer_rests_before_clicks) {
    // The desktop's late word on this move comes during the rest. The
    // click's own move then goes where the display's pointer already is,
    // and what the desktop hears of it puts the pointer nowhere else.
    constexpr std::chrono::milliseconds kRest(300);
    std::vector<INPUT> move{inputs[0]};
    Send(move);
    Pause(kRest);
  }
  Send(inputs);
}

void RestPointerBeforeClicks(bool rest) { pointer_rests_before_clicks = rest; }

void ClickCentre(HWND target) {
  RECT client{};
  ::GetClientRect(target, &client);
  ClickAt(target, POINT{(client.right - client.left) / 2, (client.bottom - client.top) / 2});
}

void PressKey(WORD virtual_key) {
  std::vector<INPUT> inputs{Key(virtual_key, false), Key(virtual_key, true)};
  Send(inputs);
}

void PressKeyWith(WORD modifier, WORD virtual_key) {
  std::vector<INPUT> inputs{Key(modifier, false), Key(virtual_key, false), Key(virtual_key, true), Key(modifier, true)};
  Send(inputs);
}

void TypeText(const std::wstring& text) {
  for (wchar_t character : text) {
    const SHORT key = ::VkKeyScanW(character);
    if (key == -1) {
      throw ScenarioFailed("no key types this character");
    }
    const auto virtual_key = static_cast<WORD>(LOBYTE(key));
    if ((HIBYTE(key) & 1) != 0) {
      PressKeyWith(VK_SHIFT, virtual_key);
    } else {
      PressKey(virtual_key);
    }
    Pause(std::chrono::milliseconds(30));
  }
}

bool SaveScreenshot(const std::wstring& path) {
  return SaveScreenshot(path, RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
}

bool SaveScreenshot(const std::wstring& path, const RECT& area) {
  const RECT screen_area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  RECT shown{};
  if (!::IntersectRect(&shown, &area, &screen_area)) {
    return false;
  }
  const int width = shown.right - shown.left;
  const int height = shown.bottom - shown.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, shown.left, shown.top, SRCCOPY);
  ::SelectObject(memory, previous);

  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD row = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  std::vector<char> pixels(static_cast<std::size_t>(row) * static_cast<std::size_t>(height));
  ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(path.c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

}  // namespace corvella::e2e
