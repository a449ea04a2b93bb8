// Program then verify of a 16 MiB byte-wide device through the in-process
// simulated unit, against one memcpy of the same size: the host's share of
// the work should never be what the operator waits for.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "ops_bench_context.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"

namespace quenlet {
namespace {

constexpr uint32_t kDeviceBytes = 16u * 1024 * 1024;

void BM_ProgramVerify16MiB(benchmark::State& s) {
  bench::OpsBench b(kDeviceBytes);
  for (auto _ : s) {
    const bool ok = program_1Click(b.ctx, 1) && verify_1Click(b.ctx, 1);
    if (!ok) {
      s.SkipWithError("program or verify failed");
      break;
    }
  }
  s.SetBytesProcessed(int64_t(s.iterations()) * kDeviceBytes);
}
BENCHMARK(BM_ProgramVerify16MiB)->Unit(benchmark::kMillisecond);

void BM_Memcpy16MiB(benchmark::State& s) {
  std::vector<uint8_t> from(kDeviceBytes, 0x5A);
  std::vector<uint8_t> to(kDeviceBytes, 0);
  for (auto _ : s) {
    std::memcpy(to.data(), from.data(), kDeviceBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  s.SetBytesProcessed(int64_t(s.iterations()) * kDeviceBytes);
}
BENCHMARK(BM_Memcpy16MiB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
