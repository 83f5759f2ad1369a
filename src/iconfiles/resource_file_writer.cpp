#include "iconfiles/resource_file_writer.hpp"

#include <cstdint>
#include <string>
#include <vector>

#include "core/runtime_error.hpp"

namespace corvella {

void WriteResourceFile(FileServices& files, ResourceReader& resources, std::string_view name, std::string_view path) {
  if (!files.FirstMatchingFile(path).empty()) {
    return;
  }
  const std::vector<std::uint8_t> data = resources.Read(name, kCustomResourceType);
  const std::int16_t file_number = files.FreeFileNumber();
  files.CreateNew(file_number, path);
  try {
    files.Write(file_number, data);
    files.Close(file_number);
  } catch (const RuntimeError&) {
    // A half-written icon would stay on the desktop and be skipped by every
    // later run, so it goes; the failure still reaches the caller.
    try {
      files.Close(file_number);
    } catch (const RuntimeError&) {
    }
    try {
      files.Delete(path);
    } catch (const RuntimeError&) {
    }
    throw;
  }
  files.Announce(FileChange::Created, path);
}

}  // namespace corvella
