// The heart and the parallelogram over a large in-memory desktop: the
// program's own cost per item, without the shell.
#include <benchmark/benchmark.h>

#include "arrange/desktop_arrangement.hpp"
#include "fake_desktop.hpp"

namespace corvella::testing {
namespace {

constexpr std::int32_t kItems = 10'000;

template <bool (DesktopArrangement::*Arrange)()>
void BM_Arrange(benchmark::State& state) {
  FakeDesktop desktop;
  desktop.AddShellDesktop(kItems);
  DesktopArrangement arrangement(desktop);
  arrangement.lngRows = 8;
  for (auto _ : state) {
    (arrangement.*Arrange)();
    desktop.ClearMessages();
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}

BENCHMARK(BM_Arrange<&DesktopArrangement::MoveIcons>)->Name("MoveIcons/10000");
BENCHMARK(BM_Arrange<&DesktopArrangement::MoveIcons2>)->Name("MoveIcons2/10000");

}  // namespace
}  // namespace corvella::testing
