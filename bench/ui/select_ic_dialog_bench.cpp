// The device-selection dialog offscreen, over a generated catalogue of 300
// manufacturers with 200 parts each and one more with 20,000 parts:
//  - open: the dialog made (its lists, history, last choice and preview),
//    shown and painted once;
//  - a click on the manufacturer with 20,000 parts until its list and the
//    first part's preview are painted.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QItemSelectionModel>
#include <QListView>

#include "../generated_catalogue.h"
#include "device/device_history.h"
#include "device/selected_device.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "state/main_form_state.h"
#include "support/fakes.h"
#include "ui/device/select_ic_dialog.h"

namespace quenlet {
namespace {


constexpr int kBigParts = 20000;

const bench::GeneratedCatalogue& TheCatalogue() {
  static const bench::GeneratedCatalogue catalogue("select-dialog", {300, 200, kBigParts});
  return catalogue;
}

struct DialogWorld {
  DialogWorld() : paths(TheCatalogue().root()) {
    state.ProgramDir = paths.root();
    state.HistoryIniFile = paths.root() + "History_1.ini";
    // The dialog opens on the last choice, with its preview.
    IniFile(paths.root() + kHistoryRingFile)
        .WriteString("HISTORY", "Last",
                     HistoryEntry(bench::ManufacturerName(1), bench::PartName(1, 1)));
  }
  std::unique_ptr<TSelectICDialog> Make() {
    return std::make_unique<TSelectICDialog>(
        SelectIcEnv{paths, state, device, messages, opener, setup});
  }
  ProgramPaths paths;
  MainFormState state;
  SelectedDevice device;
  testing::FakeMessages messages;
  bench::NoOpener opener;
  bench::NoSetup setup;
};

void Click(QListView* list, int row) {
  list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                          QItemSelectionModel::ClearAndSelect);
}

void BM_SelectDialogOpen(benchmark::State& state) {
  DialogWorld world;
  for (auto _ : state) {
    auto dialog = world.Make();
    dialog->show();
    QImage image(dialog->size(), QImage::Format_ARGB32_Premultiplied);
    dialog->render(&image);
    benchmark::DoNotOptimize(image.constBits());
    state.PauseTiming();
    dialog.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SelectDialogOpen)->Unit(benchmark::kMillisecond);

void BM_SelectDialogManufacturerClick20k(benchmark::State& state) {
  DialogWorld world;
  auto dialog = world.Make();
  dialog->show();
  QImage image(dialog->size(), QImage::Format_ARGB32_Premultiplied);
  QListView* makers = dialog->MaunListBox();
  const int big = makers->model()->rowCount() - 1;  // sorted last: "Maker 301 ..."
  for (auto _ : state) {
    state.PauseTiming();
    Click(makers, 0);
    dialog->render(&image);
    state.ResumeTiming();
    Click(makers, big);
    dialog->render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  if (dialog->NumListBox()->model()->rowCount() != kBigParts) {
    state.SkipWithError("the big manufacturer's parts were not listed");
  }
}
BENCHMARK(BM_SelectDialogManufacturerClick20k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
