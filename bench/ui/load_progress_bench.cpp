// The editor's Load command with the real progress window attached
// (offscreen): a 1 MiB image from its Intel HEX file, the load dialog
// scripted, fill 0xFF around the data.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <filesystem>
#include <string>

#include "buffer/binary_file.h"
#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/load_pipeline.h"
#include "buffer/save_pipeline.h"
#include "platform/program_paths.h"
#include "state/main_form_state.h"
#include "support/fake_load_save_windows.h"
#include "support/fakes.h"
#include "ui/buffer/progress_window.h"

namespace quenlet {
namespace {

void BM_LoadFileClick1MiBWithProgress(benchmark::State& state) {
  constexpr int64_t kImage = 1024 * 1024;
  std::string pattern = (std::filesystem::temp_directory_path() / "quenlet-bench-XXXXXX");
  const std::filesystem::path root = ::mkdtemp(pattern.data());
  const std::string file = (root / "image.hex").string();
  const std::string history = (root / "History_1.ini").string();
  testing::FakeMessages messages;
  DataBuffer buffer;
  buffer.SetHistoryIniPath(history);
  {
    NullProgress quiet;
    DataBuffer source;
    source.ResizeBuffer(kImage, messages);
    auto bytes = source.Bytes();
    for (int64_t i = 0; i < kImage; ++i) bytes[size_t(i)] = uint8_t(i * 37 + (i >> 7));
    if (!SaveRange(source, file, 0, kImage - 1, kSaveIntelHex, messages, quiet)) {
      return state.SkipWithError("save failed");
    }
  }
  const uint64_t file_bytes = GetFileLength(file);
  TProgressWindow progress;
  const ProgramPaths paths(root.string() + "/");
  MainFormState form_state;
  testing::FakeLoadSaveWindows windows;
  windows.on_load_dialog = [&] {
    testing::WriteLoadDialog(history, buffer, file, file_bytes - 1, kLoadIntelHex, 0xFF);
    return true;
  };
  LoadSaveContext context{buffer, form_state, paths, messages, progress, windows};
  for (auto _ : state) {
    if (!LoadFileClick(context) || !messages.boxes.empty()) {
      return state.SkipWithError("load failed");
    }
    // Back in the event loop, as after a click.
    QCoreApplication::processEvents();
  }
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_LoadFileClick1MiBWithProgress)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
