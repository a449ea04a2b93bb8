// The simulated unit's cost per byte: a 16 MiB device programmed and read
// back page by page through the transport, as the block engine drives it
// (compare with BM_Memcpy16MiB).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "device/parameter_block.h"
#include "programmer/protocol.h"
#include "programmer/simulated_backend.h"
#include "programmer/transport.h"

namespace quenlet {
namespace {

constexpr size_t kDevice = 16u << 20;
constexpr size_t kPage = 65536;
constexpr size_t kHalf = 32768;

void BM_SimulatedLinkPages16MiB(benchmark::State& state) {
  SimulatedBackend backend;
  Transport t(backend);
  t.OpenProgrammer(kProgrammerProductId);
  DeviceParameterBlock block;
  block.SetWord(DeviceParameterBlock::kMaxAddressHi, static_cast<uint16_t>((kDevice - 1) >> 16));
  block.SetWord(DeviceParameterBlock::kMaxAddressLow, 0xFFFF);
  std::vector<uint8_t> buffer(kDevice);
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(i * 13 + (i >> 16));
  std::vector<uint8_t> staging(kPage);
  ProgrammerStatus status;
  size_t mismatches = 0;
  for (auto _ : state) {
    for (size_t page = 0; page < kDevice / kPage; ++page) {
      block.SetPage(0, static_cast<uint16_t>(page), 0);
      std::memcpy(staging.data(), buffer.data() + page * kPage, kPage);
      SendRequest(t, 0x47, 0x0B00, 0x0080);
      t.UsbDataWrite(128, block.bytes.data());
      SendRequest(t, 0x43, 0, 0);
      SendRequest(t, 0x4C, 0x8000, 0x8000);
      t.UsbDataWrite(kHalf, staging.data());
      SendRequest(t, 0x4C, 0x8000, 0x8000);
      t.UsbDataWrite(kHalf, staging.data() + kHalf);
      RunOperation(t, 0x05);
      ReadProgrammerStatus(t, status);
    }
    for (size_t page = 0; page < kDevice / kPage; ++page) {
      block.SetPage(0, static_cast<uint16_t>(page), 0);
      std::memset(staging.data(), 0xFF, kPage);
      SendRequest(t, 0x47, 0x0B00, 0x0080);
      t.UsbDataWrite(128, block.bytes.data());
      RunOperation(t, 0x01);
      ReadProgrammerStatus(t, status);
      SendRequest(t, 0x4B, 0x8000, 0x8000);
      t.UsbDataRead(kHalf, staging.data());
      SendRequest(t, 0x4B, 0x8000, 0x8000);
      t.UsbDataRead(kHalf, staging.data() + kHalf);
      const uint8_t* expected = buffer.data() + page * kPage;
      for (size_t i = 0; i < kPage; ++i) mismatches += staging[i] != expected[i];
    }
    backend.unit().log().Clear();
  }
  if (mismatches != 0) state.SkipWithError("read back differs");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDevice));
}
BENCHMARK(BM_SimulatedLinkPages16MiB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
