#include "shell/remote_memory_win32.hpp"

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "core/last_error_win32.hpp"
#include "core/scoped_handle_win32.hpp"
#include "core/window_handle_win32.hpp"

namespace corvella {
namespace {

constexpr DWORD kProcessAccess =
    PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION;
constexpr std::uintptr_t kHighestLowAddress = 0x7FFFFFFF;
// Where to ask for the buffer when the system placed it too high: low
// regions that a process seldom fills.
constexpr std::array<std::uintptr_t, 4> kLowAddressHints{0x10000000, 0x20000000, 0x40000000, 0x60000000};

using ScopedProcess = ScopedKernelObject;

using VirtualAlloc2Function = PVOID(WINAPI*)(HANDLE, PVOID, SIZE_T, ULONG, ULONG, MEM_EXTENDED_PARAMETER*, ULONG);

DWORD WindowProcessId(WindowHandle window) {
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(ToHwnd(window), &process_id);
  if (process_id == 0) ThrowLastError("no process owns window " + std::to_string(window));
  return process_id;
}

ScopedProcess OpenWindowProcess(DWORD process_id) {
  ScopedProcess process(::OpenProcess(kProcessAccess, FALSE, process_id));
  if (!process) ThrowLastError("cannot open process " + std::to_string(process_id));
  return process;
}

bool IsWow64(HANDLE process) {
  BOOL wow64 = FALSE;
  if (!::IsWow64Process(process, &wow64)) ThrowLastError("cannot tell a process's bitness");
  return wow64 != FALSE;
}

bool SystemIs64Bit() {
  SYSTEM_INFO info{};
  ::GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture != PROCESSOR_ARCHITECTURE_INTEL;
}

// A 32-bit process on a 64-bit system runs under WOW64; every other process
// there is 64-bit.
ProcessBitness BitnessOf(HANDLE process) {
  return SystemIs64Bit() && !IsWow64(process) ? ProcessBitness::Bits64 : ProcessBitness::Bits32;
}

// Newer systems place an allocation within bounds on request; looked up
// so that the program still runs without it.
VirtualAlloc2Function LookUpVirtualAlloc2() {
  const HMODULE kernelbase = ::GetModuleHandleW(L"kernelbase.dll");
  if (kernelbase == nullptr) return nullptr;
  return reinterpret_cast<VirtualAlloc2Function>(
      reinterpret_cast<void (*)()>(::GetProcAddress(kernelbase, "VirtualAlloc2")));
}

// An allocation in another process, released when it goes.
class RemoteAllocation {
 public:
  RemoteAllocation(HANDLE process, void* address) : process_(process), address_(address) {}
  RemoteAllocation(const RemoteAllocation&) = delete;
  RemoteAllocation& operator=(const RemoteAllocation&) = delete;
  RemoteAllocation(RemoteAllocation&& other) noexcept
      : process_(other.process_), address_(std::exchange(other.address_, nullptr)), left_(other.left_) {}
  RemoteAllocation& operator=(RemoteAllocation&&) = delete;
  ~RemoteAllocation() {
    if (address_ != nullptr && !left_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }

  void Leave() { left_ = true; }

  [[nodiscard]] std::uintptr_t Address() const { return reinterpret_cast<std::uintptr_t>(address_); }
  [[nodiscard]] bool EndsBelow2GB(std::size_t bytes) const {
    return address_ != nullptr && Address() <= kHighestLowAddress && bytes <= kHighestLowAddress - Address() + 1;
  }

 private:
  HANDLE process_;
  void* address_;
  bool left_ = false;
};

RemoteAllocation AllocateWithin2GB(HANDLE process, std::size_t bytes, VirtualAlloc2Function virtual_alloc2) {
  MEM_ADDRESS_REQUIREMENTS bounds{};
  bounds.HighestEndingAddress = reinterpret_cast<PVOID>(kHighestLowAddress);
  MEM_EXTENDED_PARAMETER parameter{};
  parameter.Type = static_cast<DWORD64>(MemExtendedParameterAddressRequirements);
  parameter.Pointer = &bounds;
  return RemoteAllocation(
      process, virtual_alloc2(process, nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE, &parameter, 1));
}

RemoteAllocation AllocateAt(HANDLE process, std::size_t bytes, std::uintptr_t hint) {
  return RemoteAllocation(process, ::VirtualAllocEx(process, reinterpret_cast<void*>(hint), bytes,
                                                    MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

RemoteAllocation AllocateBelow2GB(HANDLE process, std::size_t bytes) {
  if (const VirtualAlloc2Function virtual_alloc2 = LookUpVirtualAlloc2(); virtual_alloc2 != nullptr) {
    RemoteAllocation bounded = AllocateWithin2GB(process, bytes, virtual_alloc2);
    if (bounded.EndsBelow2GB(bytes)) return bounded;
  }
  if (RemoteAllocation anywhere = AllocateAt(process, bytes, 0); anywhere.EndsBelow2GB(bytes)) return anywhere;
  for (const std::uintptr_t hint : kLowAddressHints) {
    if (RemoteAllocation low = AllocateAt(process, bytes, hint); low.EndsBelow2GB(bytes)) return low;
  }
  ThrowLastError("no room below 2 GB in the view's process");
}

class Win32RemoteMemory final : public RemoteMemory {
 public:
  Win32RemoteMemory(ScopedProcess process, std::size_t bytes)
      : process_(std::move(process)),
        bitness_(BitnessOf(process_.Get())),
        allocation_(AllocateBelow2GB(process_.Get(), bytes)),
        size_(bytes) {}

  [[nodiscard]] ProcessBitness Bitness() const override { return bitness_; }
  [[nodiscard]] std::uint32_t Address() const override { return static_cast<std::uint32_t>(allocation_.Address()); }
  [[nodiscard]] std::size_t Size() const override { return size_; }

  void Write(std::size_t offset, std::span<const std::uint8_t> bytes) override {
    SIZE_T written = 0;
    if (!::WriteProcessMemory(process_.Get(), At(offset, bytes.size()), bytes.data(), bytes.size(), &written) ||
        written != bytes.size()) {
      ThrowLastError("cannot write to the view's process");
    }
  }

  void Read(std::size_t offset, std::span<std::uint8_t> bytes) override {
    SIZE_T read = 0;
    if (!::ReadProcessMemory(process_.Get(), At(offset, bytes.size()), bytes.data(), bytes.size(), &read) ||
        read != bytes.size()) {
      ThrowLastError("cannot read from the view's process");
    }
  }

  void LeaveInProcess() override { allocation_.Leave(); }

 private:
  void* At(std::size_t offset, std::size_t bytes) const {
    if (offset > size_ || bytes > size_ - offset) {
      ThrowServiceFailure("outside the buffer in the view's process");
    }
    return reinterpret_cast<void*>(allocation_.Address() + offset);
  }

  // Declared first so that the buffer is freed before the handle closes.
  ScopedProcess process_;
  ProcessBitness bitness_;
  RemoteAllocation allocation_;
  std::size_t size_;
};

}  // namespace

std::unique_ptr<RemoteMemory> Win32RemoteMemoryProvider::Open(WindowHandle view, std::size_t bytes) {
  return std::make_unique<Win32RemoteMemory>(OpenWindowProcess(WindowProcessId(view)), bytes);
}

}  // namespace corvella
