#include "shell/folder_view_win32.hpp"

#include <windows.h>
// After windows.h, which they need.
#include <exdisp.h>
#include <process.h>
#include <servprov.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "core/scoped_handle_win32.hpp"
#include "shell/com_ptr_win32.hpp"

namespace corvella {
namespace {

// How often the wait looks at the messages sent to this thread's windows.
constexpr DWORD kLookEveryMs = 250;

// The thread's apartment, for its whole life: the shell's objects expect a
// single-threaded one.
class Apartment {
 public:
  Apartment() noexcept : entered_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~Apartment() {
    if (entered_) ::CoUninitialize();
  }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;

  explicit operator bool() const noexcept { return entered_; }

 private:
  bool entered_;
};

// An item id the folder view handed over: only handed back, never read, and
// freed by its owner.
struct FreeItemId {
  void operator()(ITEMID_CHILD* id) const noexcept { ::CoTaskMemFree(id); }
};
using ItemId = std::unique_ptr<ITEMID_CHILD, FreeItemId>;

class ShellFolderView final : public FolderView {
 public:
  explicit ShellFolderView(ComPtr<IFolderView> view) : view_(std::move(view)) {}

  std::optional<std::int32_t> ItemCount() override {
    int count = 0;
    if (FAILED(view_->ItemCount(SVGIO_ALLVIEW, &count))) return std::nullopt;
    return count;
  }

  std::optional<WindowPoint> ItemPosition(std::int32_t index) override {
    const ItemId id = Item(index);
    POINT point{};
    if (!id || FAILED(view_->GetItemPosition(id.get(), &point))) return std::nullopt;
    return WindowPoint{point.x, point.y};
  }

  bool PositionItems(std::span<const ItemMove> moves) override {
    std::vector<ItemId> owned;
    std::vector<PCUITEMID_CHILD> ids;
    std::vector<POINT> points;
    for (const ItemMove& move : moves) {
      owned.push_back(Item(move.index));
      if (!owned.back()) return false;
      ids.push_back(owned.back().get());
      points.push_back(POINT{move.x, move.y});
    }
    return SUCCEEDED(
        view_->SelectAndPositionItems(static_cast<UINT>(ids.size()), ids.data(), points.data(), SVSI_POSITIONITEM));
  }

 private:
  ItemId Item(std::int32_t index) {
    PITEMID_CHILD id = nullptr;
    const HRESULT result = view_->Item(index, &id);
    ItemId owned(id);
    if (FAILED(result)) owned.reset();
    return owned;
  }

  ComPtr<IFolderView> view_;
};

// The shell's list of its windows, its desktop window, the browser behind it,
// the browser's active view, and that view's folder view.
ComPtr<IFolderView> FindDesktopFolderView() {
  ComPtr<IShellWindows> windows;
  if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(windows.Put()))) || !windows) {
    return {};
  }
  VARIANT desktop{};
  desktop.vt = VT_I4;
  desktop.lVal = CSIDL_DESKTOP;
  VARIANT no_root{};  // VT_EMPTY
  LONG window = 0;
  ComPtr<IDispatch> found;
  // S_FALSE when the shell shows no desktop.
  if (windows->FindWindowSW(&desktop, &no_root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.Put()) != S_OK ||
      !found) {
    return {};
  }
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IFolderView> folder;
  if (FAILED(found->QueryInterface(IID_PPV_ARGS(services.Put()))) || !services ||
      FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(browser.Put()))) || !browser ||
      FAILED(browser->QueryActiveShellView(view.Put())) || !view ||
      FAILED(view->QueryInterface(IID_PPV_ARGS(folder.Put())))) {
    return {};
  }
  return folder;
}

// Shared by the thread that runs the work and the one that waits for it:
// whichever lets go last frees it, so that a thread left hanging still owns
// all it uses.
struct Job {
  explicit Job(std::function<bool(FolderView&)> to_do) : work(std::move(to_do)) {}

  std::function<bool(FolderView&)> work;
  bool done = false;  // read only once the thread has ended
  LONG holders = 2;
};

void LetGo(Job* job) {
  if (::InterlockedDecrement(&job->holders) == 0) delete job;
}

// No fault may leave the thread: the work then counts as failed.
unsigned __stdcall RunJob(void* parameter) {
  auto* job = static_cast<Job*>(parameter);
  try {
    const Apartment apartment;
    if (apartment) {
      if (ComPtr<IFolderView> found = FindDesktopFolderView()) {
        ShellFolderView view(std::move(found));
        job->done = job->work(view);
      }
    }
  } catch (...) {
    job->done = false;
  }
  LetGo(job);
  return 0;
}

// Handles what other threads send to this thread's windows meanwhile, as a
// message sent with a time-out does, so that the window is not taken for
// hung; input waits in the queue. True when the thread ended in time.
bool WaitAnswering(HANDLE thread, std::uint32_t wait_ms) {
  const ULONGLONG deadline = ::GetTickCount64() + wait_ms;
  for (;;) {
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    const ULONGLONG now = ::GetTickCount64();
    const auto step = static_cast<DWORD>(std::min<ULONGLONG>(now < deadline ? deadline - now : 0, kLookEveryMs));
    const DWORD woke = ::MsgWaitForMultipleObjects(1, &thread, FALSE, step, QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke == WAIT_FAILED || (woke == WAIT_TIMEOUT && step == 0)) return false;
  }
}

}  // namespace

FolderViewRun Win32FolderViewHost::Run(std::function<bool(FolderView&)> work, std::uint32_t wait_ms) {
  auto owned = std::make_unique<Job>(std::move(work));
  Job* job = owned.get();
  const ScopedKernelObject thread(reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, RunJob, job, 0, nullptr)));
  if (!thread) return FolderViewRun::Declined;
  owned.release();  // now held by the thread and by this wait
  if (!WaitAnswering(thread.Get(), wait_ms)) {
    LetGo(job);
    return FolderViewRun::TimedOut;
  }
  const bool done = job->done;
  LetGo(job);
  return done ? FolderViewRun::Done : FolderViewRun::Declined;
}

}  // namespace corvella
