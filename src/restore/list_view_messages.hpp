// The list view messages that read and place items through a buffer in the
// view's process, and the redraw switch. Named apart from the Windows
// headers' macros so that both can be in one file.
#pragma once

#include <cstdint>

namespace corvella {

inline constexpr std::uint32_t kMessageSetRedraw = 0x000B;
inline constexpr std::uint32_t kListViewGetItemPosition = 0x1010;
inline constexpr std::uint32_t kListViewSetItemPosition32 = 0x1031;
inline constexpr std::uint32_t kListViewGetItemTextW = 0x1073;

}  // namespace corvella
