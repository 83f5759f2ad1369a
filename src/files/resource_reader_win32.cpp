#include "files/resource_reader_win32.hpp"

#include <windows.h>

#include <string>

#include "core/runtime_error.hpp"
#include "core/unicode_win32.hpp"

namespace corvella {
namespace {

[[noreturn]] void Fail(const char* what, std::string_view name, std::string_view type) {
  throw RuntimeError(RuntimeErrorKind::ServiceFailure,
                     std::string(what) + " resource " + std::string(name) + " of type " + std::string(type));
}

}  // namespace

std::vector<std::uint8_t> Win32ResourceReader::Read(std::string_view name, std::string_view type) {
  const std::wstring wide_name = Utf8ToWide(name);
  const std::wstring wide_type = Utf8ToWide(type);
  // Resources loaded from the exe's own image are never freed: no handle to close.
  const HRSRC found = ::FindResourceW(nullptr, wide_name.c_str(), wide_type.c_str());
  if (found == nullptr) Fail("no", name, type);
  const HGLOBAL loaded = ::LoadResource(nullptr, found);
  if (loaded == nullptr) Fail("cannot load", name, type);
  const void* data = ::LockResource(loaded);
  const DWORD size = ::SizeofResource(nullptr, found);
  if (data == nullptr && size != 0) Fail("cannot lock", name, type);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  return {bytes, bytes + size};
}

}  // namespace corvella
