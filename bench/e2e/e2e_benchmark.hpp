// The end-to-end benchmark: Corvella's size and start, its pictures and its
// way back over many items, each beside the least a program could do, all
// under Wine beside the desktop stand-in of the end-to-end suite.
#pragma once

#include <string>

#include "corvella_window.hpp"

namespace corvella::e2e {

struct BenchmarkPaths {
  SuitePaths suite;             // Corvella, the stand-in, the scratch folder, the menu probe
  std::wstring sender;          // the minimal sender
  std::wstring minimal_window;  // the window Corvella's start is held against
};

// Corvella's size and its start against the minimal window, in alternating
// rounds; then, unless `runs` is 0, the heart and the parallelogram over many
// items, Corvella against the minimal sender, and saving and restoring the
// same items beside Corvella's parallelogram; prints the figures and their
// ratios.
bool RunBenchmark(const BenchmarkPaths& paths, int items, int runs, int start_rounds);

}  // namespace corvella::e2e
