// Writes the program's icon resources from their icon maps:
//   icon_maker ico <map> <out>         the icon file
//   icon_maker image <map> <out>       the bare image of an icon resource
//   icon_maker group <out>             the program's icon group, naming its image
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "icon_maker/icon_bytes.hpp"
#include "icon_maker/icon_map.hpp"
#include "resource.h"

namespace {

constexpr std::string_view kUsage =
    "usage: icon_maker ico <map> <out> | icon_maker image <map> <out> | icon_maker group <out>\n";

corvella::IconMap ReadMap(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot read " + path);
  }
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return corvella::ParseIconMap(text.str());
  } catch (const corvella::IconMapError& error) {
    throw std::runtime_error(path + ": " + error.what());
  }
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() != (!args.empty() && args[0] == "group" ? 2U : 3U)) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    const auto& command = args[0];
    if (command == "ico") {
      WriteBytes(args[2], corvella::IconFileBytes(ReadMap(args[1])));
    } else if (command == "image") {
      WriteBytes(args[2], corvella::IconImageBytes(ReadMap(args[1])));
    } else if (command == "group") {
      WriteBytes(args[1], corvella::IconGroupBytes(CORVELLA_ICON_IMAGE));
    } else {
      std::cerr << kUsage;
      return 2;
    }
  } catch (const std::exception& error) {
    std::cerr << "icon_maker: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
