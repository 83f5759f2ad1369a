// Runs the end-to-end benchmark under Wine.
//
//   e2e_bench.exe --corvella EXE --standin EXE --menu-probe DLL --scratch DIR
//                 [--items N] [--runs N] [--start-rounds N]
//                                           (--runs 0: the start only)
// The minimal sender and the minimal window are taken from beside the
// benchmark; the stand-in and the menu probe are the end-to-end suite's.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver_windows.hpp"
#include "e2e_benchmark.hpp"

int wmain(int argc, wchar_t** argv) {
  corvella::e2e::BenchmarkPaths paths;
  paths.sender = corvella::e2e::BesideThisProgram(L"minimal_sender.exe");
  paths.minimal_window = corvella::e2e::BesideThisProgram(L"minimal_window.exe");
  int items = 2000;
  int runs = 5;
  int start_rounds = 21;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (i + 1 >= argc) {
      std::fprintf(stderr, "%s needs a value\n", corvella::e2e::ToUtf8(arg).c_str());
      return 2;
    }
    const wchar_t* value = argv[++i];
    if (arg == L"--corvella") {
      paths.suite.corvella = value;
    } else if (arg == L"--standin") {
      paths.suite.standin = value;
    } else if (arg == L"--menu-probe") {
      paths.suite.menu_probe = value;
    } else if (arg == L"--scratch") {
      paths.suite.scratch = value;
    } else if (arg == L"--items") {
      items = _wtoi(value);
    } else if (arg == L"--runs") {
      runs = _wtoi(value);
    } else if (arg == L"--start-rounds") {
      start_rounds = _wtoi(value);
    } else {
      std::fprintf(stderr, "unknown option %s\n", corvella::e2e::ToUtf8(arg).c_str());
      return 2;
    }
  }
  return corvella::e2e::RunBenchmark(paths, items, runs, start_rounds) ? 0 : 1;
}
