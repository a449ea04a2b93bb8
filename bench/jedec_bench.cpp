// Reading and writing the JEDEC text of a 100,000-fuse map in rows of 44
// fuses, in memory (budget 5 ms each).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "buffer/jedec_file.h"

namespace {

using namespace quenlet;

constexpr uint64_t kFuses = 100000;
constexpr uint64_t kColumns = 44;

std::vector<uint8_t> RandomFuses() {
  std::mt19937 rng(1);
  std::vector<uint8_t> fuses(kFuses);
  for (auto& f : fuses) f = rng() & 1;
  return fuses;
}

void BM_WriteJedec100kFuses(benchmark::State& state) {
  const std::vector<uint8_t> fuses = RandomFuses();
  size_t bytes = 0;
  for (auto _ : state) {
    std::string text = WriteJedecText(fuses, kColumns);
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_WriteJedec100kFuses)->Unit(benchmark::kMillisecond);

void BM_ReadJedec100kFuses(benchmark::State& state) {
  const std::string text = WriteJedecText(RandomFuses(), kColumns);
  for (auto _ : state) {
    JedecRead read = ReadJedecText(text, kFuses);
    if (read.status != JedecStatus::Read) return state.SkipWithError("not read");
    benchmark::DoNotOptimize(read);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadJedec100kFuses)->Unit(benchmark::kMillisecond);

}  // namespace
