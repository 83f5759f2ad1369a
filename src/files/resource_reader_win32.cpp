#include "files/resource_reader_win32.hpp"

#include <windows.h>

#include <string>

#include "core/last_error_win32.hpp"
#include "core/unicode_win32.hpp"

namespace corvella {
namespace {

std::string Described(std::string_view name, std::string_view type) {
  return "resource " + std::string(name) + " of type " + std::string(type);
}

}  // namespace

std::vector<std::uint8_t> Win32ResourceReader::Read(std::string_view name, std::string_view type) {
  const std::wstring wide_name = Utf8ToWide(name);
  const std::wstring wide_type = Utf8ToWide(type);
  // Resources loaded from the exe's own image are never freed: no handle to close.
  const HRSRC found = ::FindResourceW(nullptr, wide_name.c_str(), wide_type.c_str());
  if (found == nullptr) ThrowLastError("no " + Described(name, type));
  const HGLOBAL loaded = ::LoadResource(nullptr, found);
  if (loaded == nullptr) ThrowLastError("cannot load " + Described(name, type));
  const void* data = ::LockResource(loaded);
  const DWORD size = ::SizeofResource(nullptr, found);
  if (data == nullptr && size != 0) ThrowLastError("cannot lock " + Described(name, type));
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  return {bytes, bytes + size};
}

}  // namespace corvella
