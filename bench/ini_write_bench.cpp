// Storing 128 option values into a temp.ini with one batch: one replace and
// one sync of the file for all of them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/ini_file.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;

void BM_IniBatchWrite128(benchmark::State& state) {
  const fs::path dir =
      fs::temp_directory_path() / ("quenlet-bench-ini-write-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  IniFile ini((dir / "temp.ini").string());
  int32_t round = 0;
  for (auto _ : state) {
    IniBatch batch;
    for (int word = 0; word < 128; ++word) {
      batch.WriteInteger(strprintf("Page%d", word / 32), strprintf("Com%dSet", word % 32),
                         word + round);
    }
    if (!ini.Write(batch)) {
      state.SkipWithError("temp.ini could not be written");
      break;
    }
    ++round;
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}
BENCHMARK(BM_IniBatchWrite128)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
