// The desktop stand-in: plays the shell's desktop for the end-to-end suite.
// A visible "Progman" window holds a "SHELLDLL_DefView" that holds a real
// list view in icon view, showing some placeholder items and then one item
// per file of the desktop folder. It follows the folder a few times a second
// and records every message that another process sends to the list view.
//
//   desktop_standin.exe [--items N] [--workerw] [--frozen] [--autoarrange]
//                       [--snaptogrid] [--icon-size N] [--spacing N] [--at X Y]
//                       [--size W H]
//     --items N       placeholder items before the files (default 0)
//     --workerw       the view lives under a top-level "WorkerW", as on
//                     current Windows, and "Progman" stays empty
//     --frozen        the folder is read once at start and then only once
//                     the driver asks the stand-in to follow it
//     --autoarrange   the view arranges its icons by itself (LVS_AUTOARRANGE)
//     --snaptogrid    the view snaps its icons to a grid (LVS_EX_SNAPTOGRID)
//     --icon-size N   icons of N pixels (default 32), as at a bigger display
//                     scale or with bigger desktop icons
//     --spacing N     the view spaces its icons N by N (LVM_SETICONSPACING)
//     --at X Y        the windows start at that point of the screen, as on a
//                     screen left of or above the main one (default 0 0)
//     --size W H      the windows are W by H pixels, as on a screen of
//                     another size (default: to the screen's far edges)
#include <windows.h>
// The shell and common-control headers need windows.h first.
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "standin_protocol.hpp"

namespace corvella::e2e {
namespace {

constexpr UINT_PTR kRescanTimer = 1;
constexpr UINT kRescanMillis = 200;
// Posted to itself by the hang command, so that the command is answered
// before the window thread stops; wparam holds the milliseconds.
constexpr UINT kHangMessage = WM_APP + 1;
constexpr COLORREF kDesktopColour = RGB(0, 96, 128);

struct FindCloser {
  void operator()(HANDLE find) const { ::FindClose(find); }
};
using ScopedFind = std::unique_ptr<void, FindCloser>;

struct FolderFile {
  std::wstring name;
  std::uint64_t size = 0;
  bool operator==(const FolderFile&) const = default;
};

// The list-view messages whose lParam points into the view's process.
bool CarriesPointer(UINT message) {
  return message == LVM_GETITEMTEXTW || message == LVM_GETITEMPOSITION || message == LVM_SETITEMPOSITION32;
}

// Whether this process still holds the memory at the address.
bool Committed(LPARAM address) {
  MEMORY_BASIC_INFORMATION region{};
  return ::VirtualQuery(reinterpret_cast<const void*>(address), &region, sizeof(region)) == sizeof(region) &&
         region.State == MEM_COMMIT;
}

bool EndsWithIco(const std::wstring& name) {
  return name.size() > 4 && ::lstrcmpiW(name.c_str() + name.size() - 4, L".ico") == 0;
}

struct StandInOptions {
  int placeholders = 0;
  bool under_worker = false;
  bool frozen = false;
  bool auto_arrange = false;
  bool snap_to_grid = false;
  int icon_size = 32;
  int spacing = 0;  // 0: the view's own
  POINT at{0, 0};
  SIZE size{0, 0};  // 0: to the screen's far edge
};

class DesktopStandIn {
 public:
  DesktopStandIn(HINSTANCE instance, const StandInOptions& options) : instance_(instance), options_(options) {
    ::QueryPerformanceFrequency(&frequency_);
    ::QueryPerformanceCounter(&start_);
    wchar_t folder[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_DESKTOPDIRECTORY, TRUE);
    folder_ = folder;
  }

  bool Create();
  int Run();

 private:
  static LRESULT CALLBACK TopLevelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ShellViewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ListViewSubclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                           DWORD_PTR self);

  LRESULT OnCopyData(const COPYDATASTRUCT& data);
  void FollowFolder();
  void Record(UINT message, WPARAM wparam, LPARAM lparam, LRESULT result, std::int64_t micros);
  std::int64_t Micros() const;

  void AppendItem(const std::wstring& text, int image);
  int ImageForFile(const std::wstring& name);
  std::vector<FolderFile> ReadFolder() const;
  void Rescan();
  bool WriteReport(const std::wstring& path);
  // Runs the stand-in's own call to its list view, which is not recorded.
  template <typename Call>
  void Own(Call call) {
    ++busy_;
    call();
    --busy_;
  }

  HINSTANCE instance_;
  StandInOptions options_;
  std::wstring folder_;
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER start_{};

  HWND progman_ = nullptr;
  HWND view_parent_ = nullptr;
  HWND list_ = nullptr;
  HIMAGELIST images_ = nullptr;
  int placeholder_image_ = 0;
  int file_image_ = 0;

  // What the list view shows, in its order: placeholders have no file.
  struct Shown {
    std::wstring text;
    std::wstring file;
  };
  std::vector<Shown> shown_;
  // The shell adds or removes a batch of files at once; a change is applied
  // only when two scans in a row saw the same change.
  std::vector<FolderFile> pending_new_;
  std::vector<std::wstring> pending_gone_;
  std::vector<LoggedMessage> log_;
  int busy_ = 0;
  std::optional<StallRequest> stall_;
  bool redraw_on_ = true;
  std::vector<LoggedMessage> stale_pointers_;
};

bool DesktopStandIn::Create() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);

  WNDCLASSEXW top{};
  top.cbSize = sizeof(top);
  top.lpfnWndProc = TopLevelProc;
  top.hInstance = instance_;
  top.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  top.hbrBackground = ::CreateSolidBrush(kDesktopColour);
  top.lpszClassName = L"Progman";
  ::RegisterClassExW(&top);
  top.lpszClassName = L"WorkerW";
  ::RegisterClassExW(&top);
  WNDCLASSEXW view = top;
  view.lpfnWndProc = ShellViewProc;
  view.lpszClassName = L"SHELLDLL_DefView";
  ::RegisterClassExW(&view);

  // Started further left or up, the windows still reach the screen's far edges.
  const int width = options_.size.cx > 0 ? options_.size.cx : ::GetSystemMetrics(SM_CXSCREEN) - options_.at.x;
  const int height = options_.size.cy > 0 ? options_.size.cy : ::GetSystemMetrics(SM_CYSCREEN) - options_.at.y;
  const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  progman_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", style, options_.at.x, options_.at.y,
                               width, height, nullptr, nullptr, instance_, this);
  view_parent_ = progman_;
  if (options_.under_worker) {
    // Current Windows keeps an empty WorkerW beside the one holding the view.
    view_parent_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"WorkerW", L"", style, options_.at.x, options_.at.y, width,
                                     height, nullptr, nullptr, instance_, this);
    ::CreateWindowExW(WS_EX_TOOLWINDOW, L"WorkerW", L"", WS_POPUP, 0, 0, width, height, nullptr, nullptr, instance_,
                      this);
  }
  HWND shell_view = ::CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height,
                                      view_parent_, nullptr, instance_, this);
  // Icon view and, unless asked for, no automatic arrangement, so that
  // moved items stay put.
  const DWORD list_style = WS_CHILD | WS_VISIBLE | LVS_ICON | (options_.auto_arrange ? LVS_AUTOARRANGE : 0);
  list_ = ::CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", list_style, 0, 0, width, height, shell_view, nullptr,
                            instance_, nullptr);
  if (progman_ == nullptr || shell_view == nullptr || list_ == nullptr) {
    return false;
  }
  if (options_.snap_to_grid) {
    ListView_SetExtendedListViewStyleEx(list_, LVS_EX_SNAPTOGRID, LVS_EX_SNAPTOGRID);
  }
  ListView_SetBkColor(list_, kDesktopColour);
  ListView_SetTextBkColor(list_, CLR_NONE);
  ListView_SetTextColor(list_, RGB(255, 255, 255));

  images_ = ::ImageList_Create(options_.icon_size, options_.icon_size, ILC_COLOR32 | ILC_MASK, 16, 16);
  placeholder_image_ = ::ImageList_AddIcon(images_, ::LoadIconW(nullptr, IDI_APPLICATION));
  file_image_ = ::ImageList_AddIcon(images_, ::LoadIconW(nullptr, IDI_WINLOGO));
  ListView_SetImageList(list_, images_, LVSIL_NORMAL);
  if (options_.spacing > 0) {
    ListView_SetIconSpacing(list_, options_.spacing, options_.spacing);
  }

  for (int i = 1; i <= options_.placeholders; ++i) {
    AppendItem(L"Item " + std::to_wstring(i), placeholder_image_);
  }
  std::vector<FolderFile> files = ReadFolder();
  for (const FolderFile& file : files) {
    AppendItem(file.name, ImageForFile(file.name));
    shown_.back().file = file.name;
  }
  ::SetWindowSubclass(list_, ListViewSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
  if (!options_.frozen) {
    FollowFolder();
  }
  return true;
}

void DesktopStandIn::FollowFolder() { ::SetTimer(progman_, kRescanTimer, kRescanMillis, nullptr); }

int DesktopStandIn::Run() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK DesktopStandIn::TopLevelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<DesktopStandIn*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_WINDOWPOSCHANGING: {
      // A desktop stays beneath every other window.
      auto* position = reinterpret_cast<WINDOWPOS*>(lparam);
      position->hwndInsertAfter = HWND_BOTTOM;
      position->flags &= ~static_cast<UINT>(SWP_NOZORDER);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_TIMER:
      if (self != nullptr && wparam == kRescanTimer) {
        self->Rescan();
      }
      return 0;
    case WM_COPYDATA:
      if (self != nullptr && window == self->progman_) {
        return self->OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lparam));
      }
      return 0;
    case kHangMessage:
      ::Sleep(static_cast<DWORD>(wparam));
      return 0;
    case WM_CLOSE:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT CALLBACK DesktopStandIn::ShellViewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return ::DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK DesktopStandIn::ListViewSubclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                                  UINT_PTR /*id*/, DWORD_PTR self) {
  auto* standin = reinterpret_cast<DesktopStandIn*>(self);
  // The stand-in has one thread, so a message sent from another thread came
  // from another process. What reaches the view while it or the stand-in is
  // already busy with it is their own traffic and is not recorded.
  const bool from_outside = standin->busy_ == 0 && (::InSendMessageEx(nullptr) & ISMEX_SEND) != 0;
  const std::int64_t micros = from_outside ? standin->Micros() : 0;
  if (from_outside && standin->stall_ && standin->stall_->message == message && standin->stall_->after-- == 0) {
    ::Sleep(standin->stall_->millis);
    standin->stall_.reset();
  }
  if (message == WM_SETREDRAW) {
    standin->redraw_on_ = wparam != 0;
  }
  // A pointer into memory that the sender freed meanwhile would crash the view.
  if (from_outside && CarriesPointer(message) && !Committed(lparam)) {
    standin->stale_pointers_.push_back(
        {message, static_cast<std::uint32_t>(wparam), static_cast<std::int32_t>(lparam), 0, micros});
    return 0;
  }
  ++standin->busy_;
  const LRESULT result = ::DefSubclassProc(window, message, wparam, lparam);
  --standin->busy_;
  if (from_outside) {
    standin->Record(message, wparam, lparam, result, micros);
  }
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, ListViewSubclass, 1);
  }
  return result;
}

void DesktopStandIn::Record(UINT message, WPARAM wparam, LPARAM lparam, LRESULT result, std::int64_t micros) {
  log_.push_back({message, static_cast<std::uint32_t>(wparam), static_cast<std::int32_t>(lparam),
                  static_cast<std::int32_t>(result), micros});
}

std::int64_t DesktopStandIn::Micros() const {
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return (now.QuadPart - start_.QuadPart) * 1000000 / frequency_.QuadPart;
}

LRESULT DesktopStandIn::OnCopyData(const COPYDATASTRUCT& data) {
  switch (static_cast<StandInCommand>(data.dwData)) {
    case StandInCommand::WriteReport: {
      const auto* chars = static_cast<const wchar_t*>(data.lpData);
      const std::size_t count = data.cbData / sizeof(wchar_t);
      std::wstring path(chars, std::find(chars, chars + count, L'\0'));
      return WriteReport(path) ? 1 : 0;
    }
    case StandInCommand::ClearLog:
      log_.clear();
      return 1;
    case StandInCommand::CountLog:
      return static_cast<LRESULT>(log_.size());
    case StandInCommand::Hang: {
      std::uint32_t millis = 0;
      if (data.cbData != sizeof(millis) || data.lpData == nullptr) {
        return 0;
      }
      std::memcpy(&millis, data.lpData, sizeof(millis));
      return ::PostMessageW(progman_, kHangMessage, millis, 0) ? 1 : 0;
    }
    case StandInCommand::StallAt:
      if (data.cbData != sizeof(StallRequest) || data.lpData == nullptr) {
        return 0;
      }
      stall_.emplace();
      std::memcpy(&*stall_, data.lpData, sizeof(StallRequest));
      return 1;
    case StandInCommand::FollowFolder:
      FollowFolder();
      return 1;
    case StandInCommand::LoseView:  // a message-only window is no lookup's child
      return ::SetParent(::GetParent(list_), HWND_MESSAGE) != nullptr ? 1 : 0;
    case StandInCommand::BringViewBack:
      return ::SetParent(::GetParent(list_), view_parent_) != nullptr ? 1 : 0;
  }
  return 0;
}

void DesktopStandIn::AppendItem(const std::wstring& text, int image) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = static_cast<int>(shown_.size());
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.iImage = image;
  Own([&] { ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)); });
  shown_.push_back({text, {}});
}

int DesktopStandIn::ImageForFile(const std::wstring& name) {
  if (!EndsWithIco(name)) {
    return file_image_;
  }
  // Each icon file shows its own picture, as on the shell's desktop.
  const std::wstring path = folder_ + L"\\" + name;
  auto icon = static_cast<HICON>(
      ::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, options_.icon_size, options_.icon_size, LR_LOADFROMFILE));
  if (icon == nullptr) {
    return file_image_;
  }
  const int image = ::ImageList_AddIcon(images_, icon);
  ::DestroyIcon(icon);
  return image < 0 ? file_image_ : image;
}

std::vector<FolderFile> DesktopStandIn::ReadFolder() const {
  std::vector<FolderFile> files;
  WIN32_FIND_DATAW found;
  const std::wstring pattern = folder_ + L"\\*";
  ScopedFind find(::FindFirstFileW(pattern.c_str(), &found));
  if (find.get() == INVALID_HANDLE_VALUE) {
    find.release();
    return files;
  }
  do {
    constexpr DWORD kNotShown = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if ((found.dwFileAttributes & kNotShown) == 0) {
      files.push_back({found.cFileName, (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow});
    }
  } while (::FindNextFileW(find.get(), &found));
  // The order a person reads: Plim2.ico before Plim10.ico.
  std::sort(files.begin(), files.end(), [](const FolderFile& a, const FolderFile& b) {
    return ::StrCmpLogicalW(a.name.c_str(), b.name.c_str()) < 0;
  });
  return files;
}

void DesktopStandIn::Rescan() {
  const std::vector<FolderFile> files = ReadFolder();
  auto in_folder = [&](const std::wstring& name) {
    return std::any_of(files.begin(), files.end(), [&](const FolderFile& f) { return f.name == name; });
  };
  auto shown = [&](const std::wstring& name) {
    return std::any_of(shown_.begin(), shown_.end(), [&](const Shown& s) { return s.file == name; });
  };

  std::vector<std::wstring> gone;
  for (const Shown& item : shown_) {
    if (!item.file.empty() && !in_folder(item.file)) {
      gone.push_back(item.file);
    }
  }
  if (!gone.empty() && gone == pending_gone_) {
    for (std::size_t i = shown_.size(); i-- > 0;) {
      if (std::find(gone.begin(), gone.end(), shown_[i].file) != gone.end()) {
        Own([&] { ::SendMessageW(list_, LVM_DELETEITEM, i, 0); });
        shown_.erase(shown_.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
    gone.clear();
  }
  pending_gone_ = gone;

  std::vector<FolderFile> fresh;
  for (const FolderFile& file : files) {
    if (!shown(file.name)) {
      fresh.push_back(file);
    }
  }
  if (!fresh.empty() && fresh == pending_new_) {
    for (const FolderFile& file : fresh) {
      AppendItem(file.name, ImageForFile(file.name));
      shown_.back().file = file.name;
    }
    fresh.clear();
  }
  pending_new_ = fresh;
}

bool DesktopStandIn::WriteReport(const std::wstring& path) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  if (!out) {
    return false;
  }
  DWORD extended_style = 0;
  Own([&] { extended_style = ListView_GetExtendedListViewStyle(list_); });
  out << "style " << static_cast<DWORD>(::GetWindowLongW(list_, GWL_STYLE)) << ' ' << extended_style << '\n';
  for (std::size_t i = 0; i < shown_.size(); ++i) {
    POINT where{};
    Own([&] { ::SendMessageW(list_, LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&where)); });
    out << "item " << where.x << ' ' << where.y << ' ' << ToUtf8(shown_[i].text) << '\n';
  }
  for (const LoggedMessage& entry : log_) {
    out << "message " << entry.message << ' ' << entry.wparam << ' ' << entry.lparam << ' ' << entry.result << ' '
        << entry.micros << '\n';
  }
  out << "redraw " << (redraw_on_ ? 1 : 0) << '\n';
  for (const LoggedMessage& entry : stale_pointers_) {
    out << "stale " << entry.message << ' ' << entry.wparam << ' ' << entry.lparam << '\n';
  }
  out << "end\n";
  return static_cast<bool>(out.flush());
}

}  // namespace
}  // namespace corvella::e2e

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/, int /*show*/) {
  corvella::e2e::StandInOptions options;
  int count = 0;
  wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) {
    const std::wstring arg = args[i];
    if (arg == L"--items" && i + 1 < count) {
      options.placeholders = std::max(0, _wtoi(args[++i]));
    } else if (arg == L"--workerw") {
      options.under_worker = true;
    } else if (arg == L"--frozen") {
      options.frozen = true;
    } else if (arg == L"--autoarrange") {
      options.auto_arrange = true;
    } else if (arg == L"--snaptogrid") {
      options.snap_to_grid = true;
    } else if (arg == L"--icon-size" && i + 1 < count) {
      options.icon_size = std::max(16, _wtoi(args[++i]));
    } else if (arg == L"--spacing" && i + 1 < count) {
      options.spacing = std::max(0, _wtoi(args[++i]));
    } else if (arg == L"--at" && i + 2 < count) {
      options.at = POINT{_wtoi(args[i + 1]), _wtoi(args[i + 2])};
      i += 2;
    } else if (arg == L"--size" && i + 2 < count) {
      options.size = SIZE{_wtoi(args[i + 1]), _wtoi(args[i + 2])};
      i += 2;
    }
  }
  ::LocalFree(args);

  corvella::e2e::DesktopStandIn standin(instance, options);
  if (!standin.Create()) {
    return 1;
  }
  return standin.Run();
}
