// Saving and restoring the desktop's layout next to the parallelogram over
// the same in-memory desktop of 2,000 named items: the program's own cost
// per item, without the shell.
#include <benchmark/benchmark.h>

#include <string>

#include "app/way_back.hpp"
#include "arrange/desktop_arrangement.hpp"
#include "fake_desktop.hpp"
#include "host_files.hpp"
#include "memory_layout_storage.hpp"
#include "resource_files.hpp"

namespace corvella::testing {
namespace {

constexpr std::int32_t kItems = 2'000;
constexpr SavedTime kNow{2024, 5, 1, 9, 3, 7};

struct Desk {
  Desk() {
    desktop.folder_view.found = false;  // the program's own cost, without the shell's folder view
    desktop.SetClientSize(list, WindowSize{1920, 1080});
    std::vector<ListItem>& items = desktop.Items(list);
    for (std::int32_t i = 0; i < kItems; ++i) {
      items.push_back(ListItem{"デスクトップの項目 " + std::to_string(i % 1'500) + ".lnk", i * 3, i * 5});
    }
  }

  FakeDesktop desktop{ProcessBitness::Bits64};
  WindowHandle list = desktop.AddShellDesktop(0);
  MemoryLayoutStorage storage;
  HostFileServices files;
  ResourceFiles resources{CORVELLA_RESOURCES_DIR};
  DesktopFolderView folder_view{desktop};
  // No desktop folder: a restore finds no heart icon files to remove.
  WayBack way_back{storage,   desktop,    desktop.process(),   folder_view, files,
                   resources, [](int) {}, [] { return kNow; }, [] {}};
};

void BM_SaveLayout(benchmark::State& state) {
  Desk desk;
  for (auto _ : state) {
    desk.storage.saved.reset();
    if (desk.way_back.SaveUnlessPending().outcome != SaveOutcome::Saved) state.SkipWithError("not saved");
    desk.desktop.ClearMessages();
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_RestoreLayout(benchmark::State& state) {
  Desk desk;
  desk.way_back.SaveUnlessPending();
  const std::string saved = *desk.storage.saved;
  for (auto _ : state) {
    desk.storage.saved = saved;
    if (desk.way_back.Restore("").result.moved != static_cast<std::size_t>(kItems)) state.SkipWithError("not restored");
    desk.desktop.ClearMessages();
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_Parallelogram(benchmark::State& state) {
  Desk desk;
  DesktopArrangement arrangement(desk.desktop);
  arrangement.lngRows = 8;
  for (auto _ : state) {
    arrangement.MoveIcons2();
    desk.desktop.ClearMessages();
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}

BENCHMARK(BM_SaveLayout)->Name("SaveLayout/2000");
BENCHMARK(BM_RestoreLayout)->Name("RestoreLayout/2000");
BENCHMARK(BM_Parallelogram)->Name("MoveIcons2/2000");

}  // namespace
}  // namespace corvella::testing
