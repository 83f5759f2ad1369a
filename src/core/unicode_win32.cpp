#include "core/unicode_win32.hpp"

#include <windows.h>

#include <climits>

#include "core/runtime_error.hpp"

namespace corvella {
namespace {

int CheckedLength(std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX)) {
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "text too long to convert");
  }
  return static_cast<int>(size);
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int needed = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (needed <= 0) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "text is not UTF-8");
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), needed);
  return wide;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int needed = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) throw RuntimeError(RuntimeErrorKind::ServiceFailure, "text cannot be converted to UTF-8");
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), needed, nullptr, nullptr);
  return narrow;
}

}  // namespace corvella
