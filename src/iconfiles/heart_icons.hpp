// The heart icon files: numbered copies of the HEART icon in the desktop
// folder that top a thin desktop up to the fourteen items of the heart.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/file_services.hpp"
#include "files/resource_reader.hpp"
#include "resource.h"

namespace corvella {

inline constexpr std::string_view kHeartResource = CORVELLA_HEART_RESOURCE;

// A heart icon file ("Plim" is the program's own name for these copies of
// its heart icon): desktop + "\Plim" + number + ".ico"; raises Overflow
// past 16 bits and a ServiceFailure for an empty desktop path.
std::string HeartIconPath(std::string_view desktop, std::int32_t number);

// Deletes the heart icon files from the desktop folder: files matching
// "Plim*.ico" whose content is byte for byte the HEART icon. A user's own
// file that happens to match the pattern stays. Repeats until a pass
// deletes nothing, so a file that cannot be deleted cannot hang it. Only
// files of the icon's size are read, and nothing at all without a desktop
// path. Each file deleted is announced to the shell. Returns how many it
// deleted.
std::int32_t DeleteHeartIcons(FileServices& files, ResourceReader& resources, std::string_view desktop);

}  // namespace corvella
