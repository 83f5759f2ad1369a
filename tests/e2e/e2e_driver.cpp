// The end-to-end driver: runs the scenarios and the scripted tour against
// Corvella and the desktop stand-in.
//
//   e2e_driver.exe list                     the scenarios of one bitness
//   e2e_driver.exe list-across              those of a 32-bit Corvella and a
//                                           64-bit stand-in
//   e2e_driver.exe run NAME... [paths]      (every scenario when no name)
//   e2e_driver.exe tour [paths]
// paths: --corvella EXE --standin EXE --heart ICO --scratch DIR --shots DIR
// The menu probe library is taken from beside the driver.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver_windows.hpp"
#include "scenarios.hpp"

int wmain(int argc, wchar_t** argv) {
  using corvella::e2e::AllScenarios;
  if (argc < 2) {
    std::fprintf(stderr, "usage: e2e_driver list | run [NAME...] | tour\n");
    return 2;
  }
  const std::wstring command = argv[1];
  corvella::e2e::SuitePaths paths;
  paths.menu_probe = corvella::e2e::BesideThisProgram(L"menu_probe.dll");
  std::vector<std::string> names;
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == L"--corvella" && has_value) {
      paths.corvella = argv[++i];
    } else if (arg == L"--standin" && has_value) {
      paths.standin = argv[++i];
    } else if (arg == L"--heart" && has_value) {
      paths.heart_icon = argv[++i];
    } else if (arg == L"--scratch" && has_value) {
      paths.scratch = argv[++i];
    } else if (arg == L"--shots" && has_value) {
      paths.shots = argv[++i];
    } else {
      names.push_back(corvella::e2e::ToUtf8(arg));
    }
  }

  if (command == L"list" || command == L"list-across") {
    for (const auto& scenario : AllScenarios()) {
      if (scenario.across_bitness == (command == L"list-across")) {
        std::printf("%s\n", scenario.name);
      }
    }
    return 0;
  }
  if (command == L"tour") {
    return corvella::e2e::RunTour(paths) ? 0 : 1;
  }
  if (command != L"run") {
    std::fprintf(stderr, "unknown command\n");
    return 2;
  }
  int failed = 0;
  int found = 0;
  for (const auto& scenario : AllScenarios()) {
    if (names.empty() || std::find(names.begin(), names.end(), scenario.name) != names.end()) {
      ++found;
      failed += corvella::e2e::RunScenario(scenario, paths) ? 0 : 1;
    }
  }
  if (found == 0) {
    std::fprintf(stderr, "no such scenario\n");
    return 2;
  }
  return failed == 0 ? 0 : 1;
}
