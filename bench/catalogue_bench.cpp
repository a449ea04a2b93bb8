// Catalogue look-ups on a Select.ini of 300 manufacturers with 200 parts each:
//  - as the device dialog's OK does it: open the INI store, read one part's
//    IC INI file name, close the store;
//  - as the dialog's lists do it: parse the file once into a snapshot, then
//    list every manufacturer and every part with its IC INI file name.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "device/big_ini_file.h"
#include "platform/ini_snapshot.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;

constexpr int kManufacturers = 300;
constexpr int kPartsEach = 200;

std::string ManufacturerName(int m) {
  return strprintf("Maker %03d Semiconductor", m);
}
std::string PartName(int m, int p) {
  return strprintf("M%03dP%04d-90JC", m, p);
}
std::string PartFile(int m, int p) {
  return strprintf("M%03d\\P%04d_90.INI", m, p);
}

// A Select.ini of 300 manufacturers with 200 parts each, written once into a
// temporary folder that goes away with the benchmark program.
class Catalogue {
 public:
  Catalogue() {
    dir_ = fs::temp_directory_path() / ("quenlet-bench-catalogue-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    path_ = (dir_ / "Select.ini").string();
    std::string text = strprintf("[ITEM]\r\nValue=%X\r\n", kManufacturers);
    for (int m = 1; m <= kManufacturers; ++m) {
      text += strprintf("%04X=%s\r\n", m, ManufacturerName(m).c_str());
    }
    for (int m = 1; m <= kManufacturers; ++m) {
      text += strprintf("\r\n[%s]\r\nValue=%X\r\n", ManufacturerName(m).c_str(), kPartsEach);
      for (int p = 1; p <= kPartsEach; ++p) {
        text += strprintf("%04X=%s\r\n", p, PartName(m, p).c_str());
      }
      for (int p = 1; p <= kPartsEach; ++p) {
        text += PartName(m, p) + "=" + PartFile(m, p) + "\r\n";
      }
    }
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~Catalogue() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  fs::path dir_;
  std::string path_;
};

const Catalogue& TheCatalogue() {
  static const Catalogue catalogue;
  return catalogue;
}

void BM_CatalogueLookup60k(benchmark::State& state) {
  const std::string& path = TheCatalogue().path();
  const std::string manufacturer = ManufacturerName(kManufacturers);
  const std::string part = PartName(kManufacturers, kPartsEach);
  const std::string expected = PartFile(kManufacturers, kPartsEach);
  for (auto _ : state) {
    TBigIniFile store(path);
    std::string file = store.ReadString(manufacturer, part, "<none>");
    if (file != expected) {
      state.SkipWithError("the last part's file name was not found");
      break;
    }
    benchmark::DoNotOptimize(file);
  }
}
BENCHMARK(BM_CatalogueLookup60k)->Unit(benchmark::kMillisecond);

// The catalogue's counts are hexadecimal digits without prefix.
int32_t HexCount(const std::string& text) {
  return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 16));
}

void BM_IniSnapshot60k(benchmark::State& state) {
  const std::string& path = TheCatalogue().path();
  const std::string expected = PartFile(kManufacturers, kPartsEach);
  for (auto _ : state) {
    const IniSnapshot catalogue(path);
    size_t parts = 0;
    std::string last_file;
    const int32_t makers = HexCount(catalogue.ReadString("ITEM", "Value", "0"));
    for (int m = 1; m <= makers; ++m) {
      const std::string maker = catalogue.ReadString("ITEM", strprintf("%04X", m), "");
      const int32_t count = HexCount(catalogue.ReadString(maker, "Value", "0"));
      for (int p = 1; p <= count; ++p) {
        const std::string part = catalogue.ReadString(maker, strprintf("%04X", p), "");
        last_file = catalogue.ReadString(maker, part, "<none>");
        ++parts;
      }
    }
    if (parts != size_t(kManufacturers) * kPartsEach || last_file != expected) {
      state.SkipWithError("not every part was found");
      break;
    }
    benchmark::DoNotOptimize(last_file);
  }
}
BENCHMARK(BM_IniSnapshot60k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
