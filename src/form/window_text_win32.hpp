// Texts as the window's W functions take and give them: the layout's UTF-16
// captions as wide strings, and the text a window shows read back.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace corvella {

inline std::wstring ToWide(std::u16string_view text) { return {text.begin(), text.end()}; }

inline std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

}  // namespace corvella
