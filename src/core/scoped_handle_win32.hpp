// Owners for the few kinds of Win32 handle the program holds: each closes its
// handle with the matching call when it goes out of scope. Copying is
// deleted so that no handle is closed twice; moving hands the handle on.
// Device contexts and the objects selected into them have guards of their own.
#pragma once

#include <windows.h>

#include <utility>

namespace corvella {

template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() noexcept = default;
  explicit ScopedHandle(Handle handle) noexcept : handle_(handle) {}
  ~ScopedHandle() { Reset(); }

  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  [[nodiscard]] Handle Get() const noexcept { return handle_; }
  [[nodiscard]] bool Valid() const noexcept { return handle_ != Traits::Invalid(); }
  explicit operator bool() const noexcept { return Valid(); }

  // Gives the handle up without closing it.
  Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  // Closes the current handle, if any, and takes the new one. Returns whether
  // the close succeeded (true when there was nothing to close).
  bool Reset(Handle handle = Traits::Invalid()) noexcept {
    const Handle old = std::exchange(handle_, handle);
    return old == Traits::Invalid() || Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle handle) noexcept { return ::CloseHandle(handle) != FALSE; }
};

// Mutexes, processes and the like, which report failure as a null handle.
struct KernelObjectTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  static bool Close(Handle handle) noexcept { return ::CloseHandle(handle) != FALSE; }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle handle) noexcept { return ::FindClose(handle) != FALSE; }
};

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() noexcept { return nullptr; }
  static bool Close(Handle handle) noexcept { return ::RegCloseKey(handle) == ERROR_SUCCESS; }
};

struct FontTraits {
  using Handle = HFONT;
  static Handle Invalid() noexcept { return nullptr; }
  static bool Close(Handle handle) noexcept { return ::DeleteObject(handle) != FALSE; }
};

struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() noexcept { return nullptr; }
  static bool Close(Handle handle) noexcept { return ::DestroyIcon(handle) != FALSE; }
};

using ScopedFile = ScopedHandle<FileHandleTraits>;
using ScopedKernelObject = ScopedHandle<KernelObjectTraits>;
using ScopedFind = ScopedHandle<FindHandleTraits>;
using ScopedKey = ScopedHandle<RegistryKeyTraits>;
using ScopedFont = ScopedHandle<FontTraits>;
using ScopedIcon = ScopedHandle<IconTraits>;

// A window's device context, released when the guard goes.
class ScopedWindowDC {
 public:
  explicit ScopedWindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  ~ScopedWindowDC() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;

  [[nodiscard]] HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context; the one it replaced goes back
// in when the guard goes.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~ScopedSelectObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace corvella
