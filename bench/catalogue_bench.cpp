// Catalogue look-ups on a Select.ini of 300 manufacturers with 200 parts each:
//  - as the device dialog's OK does it: open the INI store, read one part's
//    IC INI file name, close the store;
//  - over one snapshot: every manufacturer and every part with its IC INI
//    file name;
//  - as the device dialog's lists do it: the catalogue parsed, and every
//    part list collected and sorted; one click's list of 20,000 parts.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "device/big_ini_file.h"
#include "device/catalogue.h"
#include "generated_catalogue.h"
#include "platform/ini_snapshot.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

using bench::ManufacturerName;
using bench::PartFile;
using bench::PartName;

constexpr int kManufacturers = 300;
constexpr int kPartsEach = 200;

const bench::GeneratedCatalogue& TheCatalogue() {
  static const bench::GeneratedCatalogue catalogue("catalogue", {kManufacturers, kPartsEach, 0});
  return catalogue;
}

void BM_CatalogueLookup60k(benchmark::State& state) {
  const std::string path = TheCatalogue().select_ini();
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
  const std::string path = TheCatalogue().select_ini();
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

// The device dialog's catalogue: the file parsed once, then every
// manufacturer's part list collected and sorted.
void BM_CatalogueSnapshot60k(benchmark::State& state) {
  const ProgramPaths paths(TheCatalogue().root());
  for (auto _ : state) {
    const DeviceCatalogue catalogue(paths);
    size_t parts = 0;
    for (const std::string& maker : catalogue.Manufacturers()) {
      parts += catalogue.Parts(maker).size();
    }
    if (parts != size_t(kManufacturers) * kPartsEach) {
      state.SkipWithError("not every part was listed");
      break;
    }
    benchmark::DoNotOptimize(parts);
  }
}
BENCHMARK(BM_CatalogueSnapshot60k)->Unit(benchmark::kMillisecond);

// One manufacturer with 20,000 parts: the part list of a click, collected
// from the parsed file and sorted.
void BM_PartList20k(benchmark::State& state) {
  static const bench::GeneratedCatalogue big("part-list", {0, 0, 20000});
  const DeviceCatalogue catalogue(ProgramPaths(big.root()));
  const std::string maker = ManufacturerName(1);
  for (auto _ : state) {
    std::vector<std::string> parts = catalogue.Parts(maker);
    if (parts.size() != 20000) {
      state.SkipWithError("not every part was listed");
      break;
    }
    benchmark::DoNotOptimize(parts.data());
  }
}
BENCHMARK(BM_PartList20k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
