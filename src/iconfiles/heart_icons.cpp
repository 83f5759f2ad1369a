#include "iconfiles/heart_icons.hpp"

#include <vector>

#include "core/arithmetic.hpp"
#include "core/conversions.hpp"
#include "core/resume_next.hpp"
#include "core/runtime_error.hpp"
#include "iconfiles/resource_file_writer.hpp"

namespace corvella {
namespace {

// Without a desktop path the name would land in the root of the current
// drive: no heart file is written or deleted then.
std::string InDesktop(std::string_view desktop, std::string_view name) {
  if (desktop.empty()) {
    throw RuntimeError(RuntimeErrorKind::ServiceFailure, "no desktop folder");
  }
  std::string path(desktop);
  path += '\\';
  path += name;
  return path;
}

}  // namespace

std::string HeartIconPath(std::string_view desktop, std::int32_t number) {
  return InDesktop(desktop, "Plim" + Int16ToText(ToInt16(number)) + ".ico");
}

std::int32_t DeleteHeartIcons(FileServices& files, ResourceReader& resources, std::string_view desktop) {
  std::vector<std::uint8_t> heart;
  if (!ResumeNext([&] { heart = resources.Read(kHeartResource, kCustomResourceType); })) {
    return 0;  // without the icon to compare with, no file is known to be ours
  }
  std::int32_t deleted = 0;
  bool deleted_any = true;
  while (deleted_any) {
    deleted_any = false;
    std::vector<std::string> names;
    ResumeNext([&] { names = files.FindAllFiles(InDesktop(desktop, "Plim*.ico")); });
    for (const std::string& name : names) {
      ResumeNext([&] {
        const std::string path = InDesktop(desktop, name);
        if (files.ReadFileOfSize(path, heart.size()) == heart) {
          files.Delete(path);
          deleted_any = true;
          ++deleted;
          files.Announce(FileChange::Deleted, path);
        }
      });
    }
  }
  return deleted;
}

}  // namespace corvella
