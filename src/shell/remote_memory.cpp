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

}  // namespace corvella
