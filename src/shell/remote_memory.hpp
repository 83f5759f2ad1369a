// A buffer inside the process that owns a window, for list view messages
// that carry a pointer: the shell's desktop view lives in another process
// and reads and writes its structures only in its own memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "shell/window_system.hpp"

namespace corvella {

enum class ProcessBitness { Bits32, Bits64 };

// Each call raises a RuntimeError (ServiceFailure) when it fails, and for
// bytes outside the buffer.
class RemoteMemory {
 public:
  virtual ~RemoteMemory() = default;

  [[nodiscard]] virtual ProcessBitness Bitness() const = 0;
  // Where the buffer lies in the other process; the provider places it
  // below 2 GB.
  [[nodiscard]] virtual std::uint32_t Address() const = 0;
  [[nodiscard]] virtual std::size_t Size() const = 0;
  virtual void Write(std::size_t offset, std::span<const std::uint8_t> bytes) = 0;
  virtual void Read(std::size_t offset, std::span<std::uint8_t> bytes) = 0;
  // The view may still take a message that points here: the buffer stays in
  // its process when this goes, rather than be freed under that message.
  virtual void LeaveInProcess() = 0;
};

class RemoteMemoryProvider {
 public:
  virtual ~RemoteMemoryProvider() = default;

  // A buffer of the given size in the process that owns the view; freed
  // when the RemoteMemory goes, unless left in the process. Raises a
  // RuntimeError (ServiceFailure).
  virtual std::unique_ptr<RemoteMemory> Open(WindowHandle view, std::size_t bytes) = 0;
};

// The address of a byte in the buffer as a message's lParam. Raises a
// RuntimeError (ServiceFailure) unless the whole buffer lies below 2 GB: a
// 64-bit window sign-extends the 32-bit lParam, so only there does it reach
// the same address.
std::int32_t ParameterAddress(const RemoteMemory& memory, std::size_t offset);

// Sends the view a message whose lParam points at that byte of the buffer.
// A message whose send failed may have timed out and still wait in the view,
// which would use the buffer later: the buffer is then left in the view's
// process, unless the view answers a later message, which it takes only
// after the earlier one. The failure passes on as the RuntimeError it was.
std::int32_t SendPointingInto(WindowSystem& windows, WindowHandle view, RemoteMemory& memory, std::uint32_t message,
                              std::uint32_t wparam, std::size_t offset);

}  // namespace corvella
