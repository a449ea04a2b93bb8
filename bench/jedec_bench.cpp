// Reading and writing the JEDEC text of a 100,000-fuse map in rows of 44
// fuses, in memory (budget 5 ms each), and reading a hostile 16 MiB file of
// short fuse lists in memory bounded by the file and the map.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "buffer/fuse_map.h"
#include "buffer/jedec_file.h"
#include "support/counting_memory.h"
#include "support/fuse_map_of.h"

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
  const auto map = testing::FuseMapOf(RandomFuses());
  size_t bytes = 0;
  for (auto _ : state) {
    std::string text = WriteJedecText(*map, kColumns);
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_WriteJedec100kFuses)->Unit(benchmark::kMillisecond);

void BM_ReadJedec100kFuses(benchmark::State& state) {
  const std::string text = WriteJedecText(*testing::FuseMapOf(RandomFuses()), kColumns);
  for (auto _ : state) {
    JedecRead read = ReadJedecText(text, kFuses);
    if (read.status != JedecStatus::Read) return state.SkipWithError("not read");
    benchmark::DoNotOptimize(read);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadJedec100kFuses)->Unit(benchmark::kMillisecond);

// A 16 MiB file of nothing but "L0*" fields for a GAL22V10's 5892 fuses.
// file_bytes is the text, map_bytes the fuses the reader gives back, and
// peak_bytes what one read holds at most: the text the load holds plus the
// most the reader holds on top of it (counted through operator new).
void BM_ReadJedecHostile16MiB(benchmark::State& state) {
  constexpr uint64_t kGalFuses = 5892;
  constexpr size_t kFileBytes = 16u << 20;
  std::string text = "\x02*";
  while (text.size() + 3 <= kFileBytes) text += "L0*";
  size_t read_peak = 0;
  for (auto _ : state) {
    const testing::memory::PeakAbove measure;
    JedecRead read = ReadJedecText(text, kGalFuses);
    if (read.status != JedecStatus::Read) return state.SkipWithError("not read");
    benchmark::DoNotOptimize(read);
    read_peak = std::max(read_peak, measure.bytes());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["file_bytes"] = static_cast<double>(text.size());
  state.counters["map_bytes"] = static_cast<double>(kGalFuses);
  state.counters["peak_bytes"] = static_cast<double>(text.size() + read_peak);
}
BENCHMARK(BM_ReadJedecHostile16MiB)->Unit(benchmark::kMillisecond);

}  // namespace
