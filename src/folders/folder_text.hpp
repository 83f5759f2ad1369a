// Conversions between the platform's UTF-16 paths and the program's UTF-8
// strings. Ill-formed input never fails: each broken sequence becomes
// U+FFFD, so every result is well-formed.
#pragma once

#include <string>
#include <string_view>

namespace corvella {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace corvella
