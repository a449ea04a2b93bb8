// The option block of a device with 128 option values unpacked into
// temp.ini, as every read of such a device does: the page-description file
// read once, 128 keys written with one replace of temp.ini.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "device/option_block.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;

// Four pages of 32 components: check boxes, radio groups, numeric edits and
// one-character texts in turn, each with the keys the builder reads.
std::string PageFile() {
  std::string text = "[CurrentUserPage]\r\nCaption=Bench\r\nTotal=4\r\n";
  for (int p = 0; p < 4; ++p) {
    text += strprintf("[CurrentUserPage_%d]\r\nComponentTotal=32\r\n", p);
    for (int c = 0; c < 32; ++c) {
      const int kind = c % 4 == 3 ? 2 : c % 3;
      text += strprintf(
          "ComponentType%d=%d\r\nValueType%d=%d\r\nComponentCaption%d=Option %d\r\n"
          "Top%d=%d\r\nLeft%d=8\r\nWidth%d=120\r\nHeight%d=40\r\nLength%d=1\r\n",
          c, kind, c, c % 4 == 3 ? 6 : 1, c, c, c, 8 + 12 * c, c, c, c, c);
      if (kind == 1)
        text += strprintf("Radio%dTotal=2\r\nRadio%dString0=A\r\nRadio%dString1=B\r\n", c, c, c);
    }
  }
  return text;
}

void BM_OptionUnpack128(benchmark::State& state) {
  const fs::path dir =
      fs::temp_directory_path() / ("quenlet-bench-option-unpack-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string pages = (dir / "pages.ini").string();
  std::ofstream(pages, std::ios::binary) << PageFile();
  const std::string values = (dir / "temp.ini").string();
  OptionBlock block{};
  uint8_t round = 0;
  for (auto _ : state) {
    for (size_t i = 0; i < block.size(); ++i)
      block[i] = static_cast<uint8_t>('A' + (i + round) % 26);
    if (!StoreOptionBlock(block, pages, values)) {
      state.SkipWithError("temp.ini could not be written");
      break;
    }
    ++round;
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}
BENCHMARK(BM_OptionUnpack128)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
