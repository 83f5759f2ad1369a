// UTF-8, the program's text inside its logic, to and from UTF-16, the text of
// the Win32 W functions. Used only at the Win32 boundary.
#pragma once

#include <string>
#include <string_view>

namespace corvella {

// Raises a RuntimeError (ServiceFailure) for bytes that are not UTF-8, so
// that a damaged path never reaches a file call as some other name.
std::wstring Utf8ToWide(std::string_view text);

// Unpaired surrogates, which window texts and file names may hold, become
// U+FFFD.
std::string WideToUtf8(std::wstring_view text);

}  // namespace corvella
