// One AutoRun pass (erase, blank check, program, verify) of a 1 MiB
// byte-wide device on the in-process simulated unit, against four memcpy
// passes over 1 MiB: the pass's own bookkeeping around the four operations
// must stay small next to moving the data.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/run_sequences.h"
#include "ops_bench_context.h"

namespace quenlet {
namespace {

constexpr uint32_t kDeviceBytes = 1u * 1024 * 1024;

void BM_AutoRunPass1MiB(benchmark::State& s) {
  bench::OpsBench b(kDeviceBytes);
  b.state.RunReady = 1;
  b.state.SoundOn = 0;
  for (RunBox box : {RunBox::CheckBox1, RunBox::CheckBox2, RunBox::CheckBox3, RunBox::CheckBox4}) {
    b.view.TickBox(box, true);
  }
  for (auto _ : s) {
    const uint32_t before = b.state.PassCount;
    if (!AutoRunSequence(b.ctx) || b.state.PassCount != before + 1) {
      s.SkipWithError("the pass did not pass");
      break;
    }
  }
  s.SetBytesProcessed(int64_t(s.iterations()) * kDeviceBytes);
}
BENCHMARK(BM_AutoRunPass1MiB)->Unit(benchmark::kMillisecond);

void BM_FourMemcpyPasses1MiB(benchmark::State& s) {
  std::vector<uint8_t> from(kDeviceBytes, 0x5A);
  std::vector<uint8_t> to(kDeviceBytes, 0);
  for (auto _ : s) {
    for (int pass = 0; pass < 4; ++pass) {
      std::memcpy(to.data(), from.data(), kDeviceBytes);
      benchmark::DoNotOptimize(to.data());
      benchmark::ClobberMemory();
    }
  }
  s.SetBytesProcessed(int64_t(s.iterations()) * kDeviceBytes);
}
BENCHMARK(BM_FourMemcpyPasses1MiB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
