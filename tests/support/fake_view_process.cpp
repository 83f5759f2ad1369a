#include "fake_view_process.hpp"

#include <cstring>
#include <stdexcept>

#include "core/runtime_error.hpp"

namespace corvella::testing {

// A buffer as the program sees it; it checks its bounds as the system does.
class FakeRemoteMemory final : public RemoteMemory {
 public:
  FakeRemoteMemory(FakeViewProcess& process, std::uint64_t address, std::size_t size)
      : process_(process), address_(address), size_(size) {}
  FakeRemoteMemory(const FakeRemoteMemory&) = delete;
  FakeRemoteMemory& operator=(const FakeRemoteMemory&) = delete;
  ~FakeRemoteMemory() override {
    if (!left_) process_.Free(address_);
  }

  [[nodiscard]] ProcessBitness Bitness() const override { return process_.bitness(); }
  [[nodiscard]] std::uint32_t Address() const override { return static_cast<std::uint32_t>(address_); }
  [[nodiscard]] std::size_t Size() const override { return size_; }

  void Write(std::size_t offset, std::span<const std::uint8_t> bytes) override {
    if (!bytes.empty()) std::memcpy(Range(offset, bytes.size()).data(), bytes.data(), bytes.size());
  }
  void Read(std::size_t offset, std::span<std::uint8_t> bytes) override {
    if (!bytes.empty()) std::memcpy(bytes.data(), Range(offset, bytes.size()).data(), bytes.size());
  }
  void LeaveInProcess() override { left_ = true; }

 private:
  std::span<std::uint8_t> Range(std::size_t offset, std::size_t size) {
    if (offset > size_ || size > size_ - offset) {
      throw RuntimeError(RuntimeErrorKind::ServiceFailure, "outside the buffer");
    }
    return process_.At(address_ + offset, size);
  }

  FakeViewProcess& process_;
  std::uint64_t address_;
  std::size_t size_;
  bool left_ = false;
};

std::unique_ptr<RemoteMemory> FakeViewProcess::Open(WindowHandle, std::size_t bytes) {
  constexpr std::uint64_t kGranularity = 0x10000;
  const std::uint64_t address = next_address_;
  buffers_.emplace(address, std::vector<std::uint8_t>(bytes));
  next_address_ += (bytes + kGranularity - 1) / kGranularity * kGranularity;
  return std::make_unique<FakeRemoteMemory>(*this, address, bytes);
}

std::span<std::uint8_t> FakeViewProcess::At(std::uint64_t address, std::size_t size) {
  auto buffer = buffers_.upper_bound(address);
  if (buffer != buffers_.begin()) {
    --buffer;
    const std::uint64_t offset = address - buffer->first;
    if (offset <= buffer->second.size() && size <= buffer->second.size() - offset) {
      return std::span<std::uint8_t>(buffer->second).subspan(static_cast<std::size_t>(offset), size);
    }
  }
  throw std::out_of_range("the view touched memory outside the program's buffers");
}

void FakeViewProcess::Free(std::uint64_t address) {
  const auto buffer = buffers_.find(address);
  last_freed_ = std::move(buffer->second);
  buffers_.erase(buffer);
}

}  // namespace corvella::testing
