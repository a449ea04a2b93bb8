// One device load, as every step makes it, of a 52 MB device file: the
// sample library's self-test device with a million padding lines inside its
// section, its support files present, on the simulated unit (the driver
// upload and the algorithm image included).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "device/ic_ini_loader.h"
#include "ops_bench_context.h"
#include "platform/program_paths.h"
#include "programmer/programmer_loader_link.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;

constexpr int kPaddingLines = 1000000;

// The device file: its section header, the padding, then its keys.
std::string PaddedDeviceFile() {
  std::ifstream in(QUENLET_LIBRARY "/INI/VARNEK/HARDTEST.INI", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string device = text.str();
  const std::string header = "[VK_KZExternValue]";
  const size_t keys = device.find('\n', device.find(header)) + 1;
  std::string padded = device.substr(0, keys);
  const std::string line = "; padding " + std::string(40, '.') + "\r\n";
  padded.reserve(device.size() + line.size() * kPaddingLines);
  for (int i = 0; i < kPaddingLines; ++i) padded += line;
  return padded + device.substr(keys);
}

void BM_LoadDeviceFile52MB(benchmark::State& state) {
  const fs::path dir =
      fs::temp_directory_path() / ("quenlet-bench-device-load-" + std::to_string(::getpid()));
  fs::create_directories(dir / "INI" / "VARNEK");
  fs::create_directories(dir / "FPGA");
  std::ofstream(dir / "INI" / "VARNEK" / "HARDTEST.INI", std::ios::binary) << PaddedDeviceFile();
  for (const char* support : {"QDMEM.BIT", "QDMEM.DRV", "SCAN.BIT", "SCAN.DRV"}) {
    std::ofstream(dir / "FPGA" / support, std::ios::binary) << std::string(4096, '\x5A');
  }
  if (fs::file_size(dir / "INI" / "VARNEK" / "HARDTEST.INI") < 52'000'000) {
    state.SkipWithError("the device file is not 52 MB");
  }

  bench::OpsBench world(256);
  const ProgramPaths paths(dir.string() + "/");
  world.state.ProgramDir = paths.root();
  world.state.ProgrammerIdentified = 1;
  world.device.SelectedIcIniPath = paths.root() + "INI\\VARNEK\\HARDTEST.INI";
  ProgrammerLoaderLink link(world.link);
  IcIniLoader loader(world.device, world.state, paths, link, world.messages);
  for (auto _ : state) {
    const IcLoadOutcome outcome = loader.LoadIcParameters(0, 0, 0);
    if (outcome.status != IcLoadStatus::Loaded || !outcome.driver_sent ||
        world.device.Name != "HARDTEST") {
      state.SkipWithError("the device did not load");
      break;
    }
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}
BENCHMARK(BM_LoadDeviceFile52MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
