// The least a program can do to draw the heart or the parallelogram: find
// the desktop's list view, ask its item count and send one position per
// item, with columns of eight. The benchmark holds Corvella against it.
//
//   minimal_sender.exe heart|parallelogram
#include <windows.h>

#include <cstdint>
#include <cwchar>

namespace {

constexpr std::int32_t kRows = 8;
constexpr UINT kGetItemCount = 0x1004;
constexpr UINT kSetItemPosition = 0x100F;

constexpr std::int32_t kHeart[14][2] = {{200, 100}, {160, 80},  {120, 90},  {80, 120},  {80, 180},
                                        {120, 220}, {160, 250}, {200, 290}, {240, 250}, {280, 220},
                                        {320, 180}, {320, 120}, {280, 90},  {240, 80}};

LPARAM Packed(std::int32_t x, std::int32_t y) { return static_cast<LPARAM>(y * 65536 + x); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool heart = argc > 1 && std::wcscmp(argv[1], L"heart") == 0;
  HWND list = ::FindWindowExA(::FindWindowExA(::FindWindowA("progman", nullptr), nullptr, "shelldll_defview", nullptr),
                              nullptr, "syslistview32", nullptr);
  const auto count = static_cast<std::int32_t>(::SendMessageA(list, kGetItemCount, 0, 0));
  if (heart) {
    for (std::int32_t i = 0; i < 14; ++i) {
      ::SendMessageA(list, kSetItemPosition, static_cast<WPARAM>(i), Packed(kHeart[i][0], kHeart[i][1]));
    }
    for (std::int32_t i = 14; i < count; ++i) {
      const std::int32_t j = i - 14;
      ::SendMessageA(list, kSetItemPosition, static_cast<WPARAM>(i), Packed(j / kRows * 60 + 400, j % kRows * 60 + 30));
    }
  } else {
    for (std::int32_t i = 0; i < count; ++i) {
      const std::int32_t x = i / kRows * 80 + i % kRows * 20 + 30;
      ::SendMessageA(list, kSetItemPosition, static_cast<WPARAM>(i), Packed(x, i % kRows * 60 + 15));
    }
  }
  return list == nullptr ? 1 : 0;
}
