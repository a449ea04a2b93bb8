// The device dialog's restore of the last choice, as the program's start
// makes it, over a damaged recent-device ring: SelIcHst.ini's Last holds
// 16,000 "_IC_" separators, beside a catalogue of 65,535 manufacturers (one
// part each). The dialog's logic made and created: the history box, both
// lists and the preview of the restored choice.
#include <benchmark/benchmark.h>

#include <string>

#include "device/device_history.h"
#include "device/select_ic_logic.h"
#include "device/selected_device.h"
#include "generated_catalogue.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "state/main_form_state.h"
#include "support/fakes.h"

namespace quenlet {
namespace {

constexpr int kManufacturers = 65535;
constexpr int kSeparators = 16000;


void BM_RestoreWithDamagedRing(benchmark::State& state) {
  static const bench::GeneratedCatalogue catalogue("damaged-ring", {kManufacturers, 1, 0});
  const ProgramPaths paths(catalogue.root());
  // The first manufacturer, then separators up to the part's name.
  std::string last = bench::ManufacturerName(1);
  for (int i = 0; i < kSeparators; ++i) last += "_IC_";
  last += bench::PartName(1, 1);
  IniFile(paths.root() + kHistoryRingFile).WriteString("HISTORY", "Last", last);

  MainFormState run_state;
  run_state.ProgramDir = paths.root();
  run_state.HistoryIniFile = paths.root() + "History_1.ini";
  SelectedDevice device;
  testing::FakeMessages messages;
  bench::NoOpener opener;
  bench::NoSetup setup;
  for (auto _ : state) {
    SelectIcDialogLogic logic(SelectIcEnv{paths, run_state, device, messages, opener, setup});
    logic.FormCreate();
    if (logic.Manufacturers().size() != size_t{kManufacturers} ||
        logic.ChosenManufacturer() != bench::ManufacturerName(1)) {
      state.SkipWithError("the damaged entry was not restored as its first manufacturer");
      break;
    }
    benchmark::DoNotOptimize(logic.Preview());
  }
}
BENCHMARK(BM_RestoreWithDamagedRing)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
