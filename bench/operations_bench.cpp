// Program then verify of a 16 MiB byte-wide device through the in-process
// simulated unit, against one memcpy of the same size: the host's share of
// the work should never be what the operator waits for.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/main_form_state.h"
#include "buffer/data_buffer.h"
#include "buffer/fuse_map.h"
#include "device/selected_device.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"
#include "programmer/operation_context.h"
#include "programmer/simulated_backend.h"
#include "programmer/step_fail.h"
#include "programmer/step_pictures.h"
#include "programmer/transport.h"
#include "support/fakes.h"

namespace quenlet {
namespace {

constexpr uint32_t kDeviceBytes = 16u * 1024 * 1024;

class KeepRecord : public DeviceReload {
 public:
  KeepRecord(SelectedDevice& target, const SelectedDevice& stored)
      : target_(target), stored_(stored) {}
  bool Reload() override {
    target_ = stored_;
    return true;
  }

 private:
  SelectedDevice& target_;
  const SelectedDevice& stored_;
};

class QuietWindow : public MainWindowControl {
 public:
  void Close() override {}
  void SetSramButtonsEnabled(bool) override {}
};

struct Bench {
  Bench() {
    stored.Data_Width = "0x00FF";
    stored.Block.SetWord(DeviceParameterBlock::kMaxAddressHi, (kDeviceBytes - 1) >> 16);
    stored.Block.SetWord(DeviceParameterBlock::kMaxAddressLow, (kDeviceBytes - 1) & 0xFFFF);
    stored.IcDeviceSize = kDeviceBytes;
    stored.IcBufferSize = kDeviceBytes;
    device = stored;
    buffer.ResizeBuffer(kDeviceBytes, messages);
    auto bytes = buffer.Bytes();
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 16));
  }

  SelectedDevice stored;
  SelectedDevice device;
  KeepRecord reload{device, stored};
  MainFormState state;
  SimulatedBackend sim;
  Transport transport{sim};
  testing::FakeMessages messages;
  testing::FakeSound sound;
  testing::FakeEventPump pump;
  testing::FakeProgress progress;
  StepPictures view;
  StepFailIndicator step_fail{view, state, sound, pump};
  QuietWindow window;
  ProgrammerLink link{transport, state, device, messages, step_fail, view, window};
  DataBuffer buffer;
  FuseMap fuse_map;
  StepBusyFlags busy;
  OperationLock lock;
  OperationRecord record;
  OperationContext ctx{state, device, reload,   buffer, fuse_map, link,   view,    messages,
                       sound, pump,   progress, busy,   lock,     record, nullptr, {}};
};

void BM_ProgramVerify16MiB(benchmark::State& s) {
  Bench b;
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
