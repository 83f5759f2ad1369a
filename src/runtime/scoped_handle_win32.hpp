// Owners for the few kinds of Win32 handle the runtime holds: each closes its
// handle with the matching call when it goes out of scope. Copying is
// deleted so that no handle is closed twice; moving hands the handle on.
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
using ScopedFind = ScopedHandle<FindHandleTraits>;
using ScopedKey = ScopedHandle<RegistryKeyTraits>;
using ScopedFont = ScopedHandle<FontTraits>;
using ScopedIcon = ScopedHandle<IconTraits>;

}  // namespace corvella
