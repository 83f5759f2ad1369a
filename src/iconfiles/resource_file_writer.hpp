// Copies one of the program's custom resources into a new file, the only
// place where the program writes a file.
#pragma once

#include <string_view>

#include "files/file_services.hpp"
#include "files/resource_reader.hpp"

namespace corvella {

inline constexpr std::string_view kCustomResourceType = "CUSTOM";

// Writes the "CUSTOM" resource `name` to `path` unless a file is found
// there. The file is created exclusively, so nothing at the path is ever
// truncated; a file that cannot be written completely is removed again. A
// file written is announced to the shell.
// Failures raise a RuntimeError to the caller.
void WriteResourceFile(FileServices& files, ResourceReader& resources, std::string_view name, std::string_view path);

}  // namespace corvella
