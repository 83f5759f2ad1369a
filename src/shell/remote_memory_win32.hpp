// Buffers inside the process that owns a window, over kernel32: opened with
// only the rights the buffer needs, placed below 2 GB, and freed with the
// process handle closed on every path.
#pragma once

#include "shell/remote_memory.hpp"

namespace corvella {

class Win32RemoteMemoryProvider final : public RemoteMemoryProvider {
 public:
  std::unique_ptr<RemoteMemory> Open(WindowHandle view, std::size_t bytes) override;
};

}  // namespace corvella
