#include "shell/remote_memory.hpp"

#include <string>

#include "core/runtime_error.hpp"

namespace corvella {
namespace {

constexpr std::uint64_t kTwoGigabytes = 0x80000000;

}  // namespace

std::int32_t ParameterAddress(const RemoteMemory& memory, std::size_t offset) {
  const std::uint64_t start = memory.Address();
  if (start + memory.Size() > kTwoGigabytes || offset >= memory.Size()) {
    throw RuntimeError(RuntimeErrorKind::ServiceFailure,
                       "the view's buffer at " + std::to_string(start) + " is out of a message's reach");
  }
  return static_cast<std::int32_t>(start + offset);
}

std::int32_t SendPointingInto(WindowSystem& windows, WindowHandle view, RemoteMemory& memory, std::uint32_t message,
                              std::uint32_t wparam, std::size_t offset) {
  const std::int32_t lparam = ParameterAddress(memory, offset);
  try {
    return windows.SendWindowMessage(view, message, wparam, lparam);
  } catch (const RuntimeError&) {
    try {
      windows.SendWindowMessage(view, list_view::kGetItemCount, 0, 0);
    } catch (const RuntimeError&) {
      memory.LeaveInProcess();
    }
    throw;
  }
}

}  // namespace corvella
