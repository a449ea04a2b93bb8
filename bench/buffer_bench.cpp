// The data buffer's byte sum against the machine's memory copy of the same
// size, and sizing a new buffer to the largest size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "buffer/data_buffer.h"
#include "platform/user_interfaces.h"
#include "support/fakes.h"
#include "support/resident_peak.h"

namespace {

constexpr int64_t kSize = 64ll * 1024 * 1024;

void BM_Checksum64MiB(benchmark::State& state) {
  quenlet::DataBuffer buffer;
  quenlet::testing::FakeMessages messages;
  quenlet::NullProgress progress;
  if (!buffer.ResizeBuffer(kSize, messages)) {
    state.SkipWithError("no 64 MiB buffer");
    return;
  }
  for (int64_t i = 0; i < kSize; ++i) buffer.Bytes()[size_t(i)] = uint8_t(i * 7 + (i >> 9));
  for (auto _ : state) {
    benchmark::DoNotOptimize(buffer.GetCheckSum(0, kSize - 1, 0, messages, progress));
  }
  state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_Checksum64MiB)->Unit(benchmark::kMillisecond);

// ResizeBuffer to 512 MiB from the 8 KB buffer of a program just started:
// the new bytes are zero, nothing else is written. resident_bytes is the most
// the process held resident above what it held before (pages really touched).
void BM_ResizeBuffer512MiB(benchmark::State& state) {
  constexpr int64_t kLargest = 512ll * 1024 * 1024;
  quenlet::testing::FakeMessages messages;
  uint64_t resident = 0;
  for (auto _ : state) {
    quenlet::testing::ResidentPeak touched;
    quenlet::DataBuffer buffer;
    if (!buffer.ResizeBuffer(kLargest, messages)) {
      state.SkipWithError("no 512 MiB buffer");
      return;
    }
    benchmark::DoNotOptimize(buffer.Bytes()[size_t(kLargest)]);
    resident = std::max(resident, touched.bytes());
  }
  state.counters["resident_bytes"] = static_cast<double>(resident);
}
BENCHMARK(BM_ResizeBuffer512MiB)->Unit(benchmark::kMillisecond);

void BM_Memcpy64MiB(benchmark::State& state) {
  std::vector<uint8_t> from(kSize), to(kSize);
  for (int64_t i = 0; i < kSize; ++i) from[size_t(i)] = uint8_t(i * 7 + (i >> 9));
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), size_t(kSize));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_Memcpy64MiB)->Unit(benchmark::kMillisecond);

}  // namespace
