// A failed Win32 call as the runtime's own error: a ServiceFailure (or
// DiskFull, when the disk had no room) that names what failed and the
// system's error code for it.
#pragma once

#include <windows.h>

#include <string>

#include "core/runtime_error.hpp"

namespace corvella {

// Reads GetLastError first, before building the message can change it.
[[noreturn]] inline void ThrowLastError(const std::string& what) {
  const DWORD code = ::GetLastError();
  const bool disk_full = code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL;
  throw RuntimeError(disk_full ? RuntimeErrorKind::DiskFull : RuntimeErrorKind::ServiceFailure,
                     what + " (error " + std::to_string(code) + ")");
}

}  // namespace corvella
