// The desktop view's process in memory: the buffers the program opens in
// it, placed as the system would place them, and the view's own access to
// those bytes when it answers a message.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "shell/remote_memory.hpp"

namespace corvella::testing {

class FakeViewProcess final : public RemoteMemoryProvider {
 public:
  explicit FakeViewProcess(ProcessBitness bitness) : bitness_(bitness) {}

  [[nodiscard]] ProcessBitness bitness() const { return bitness_; }
  // Where the next buffer goes; later ones follow it.
  void PlaceBuffersAt(std::uint32_t address) { next_address_ = address; }

  std::unique_ptr<RemoteMemory> Open(WindowHandle view, std::size_t bytes) override;

  // The view's side: bytes inside a live buffer. Anywhere else the view's
  // process would crash, so the test fails (std::out_of_range).
  std::span<std::uint8_t> At(std::uint64_t address, std::size_t size);

  // Those not freed yet, and those left in the process.
  [[nodiscard]] std::size_t live_buffers() const { return buffers_.size(); }
  // What the last buffer freed held at the end.
  [[nodiscard]] const std::vector<std::uint8_t>& last_freed() const { return last_freed_; }

 private:
  friend class FakeRemoteMemory;
  void Free(std::uint64_t address);

  ProcessBitness bitness_;
  std::uint64_t next_address_ = 0x00A30000;
  std::map<std::uint64_t, std::vector<std::uint8_t>> buffers_;
  std::vector<std::uint8_t> last_freed_;
};

}  // namespace corvella::testing
