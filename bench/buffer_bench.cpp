// The data buffer's byte sum against the machine's memory copy of the same size.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "buffer/data_buffer.h"
#include "platform/user_interfaces.h"
#include "support/fakes.h"

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
