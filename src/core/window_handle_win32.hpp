// Window handles as the portable code keeps them, 32-bit numbers, and back:
// a window handle fits 32 bits on 64-bit Windows too, so one number names
// the same window in 32- and 64-bit processes.
#pragma once

#include <windows.h>

#include <cstdint>

namespace corvella {

inline HWND ToHwnd(std::uint32_t window) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window)); }

inline std::uint32_t FromHwnd(HWND window) { return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window)); }

}  // namespace corvella
