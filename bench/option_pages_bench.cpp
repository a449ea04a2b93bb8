// The option pages' description read as the Parameters window reads it (the
// file parsed, the whole set taken from it), for the largest set the bounds
// let in: 128 pages, 128 components, 4096 radio items and 4096 explanation
// lines, every text 2047 bytes long. Besides the time, the peak of memory
// one read adds to the program, as the kernel counts it (PeakGrowth).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "device/option_page_file.h"
#include "platform/ini_snapshot.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

namespace fs = std::filesystem;

// A line "<name>: <n> kB" of /proc/self/status, in KiB; -1 when absent.
long StatusKiB(const char* name) {
  long value = -1;
  if (FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    const size_t length = std::strlen(name);
    while (std::fgets(line, sizeof line, f)) {
      if (std::strncmp(line, name, length) == 0 && line[length] == ':') {
        value = std::strtol(line + length + 1, nullptr, 10);
        break;
      }
    }
    std::fclose(f);
  }
  return value;
}

// The most memory `work` adds to this process, in bytes, as the kernel
// counts it: the free memory the allocator holds is given back first, the
// resident peak is reset (clear_refs 5), and the peak after the work less
// the resident set before it is what the work took at its most. -1 when
// the kernel does not tell.
long long PeakGrowth(const std::function<void()>& work) {
  ::malloc_trim(0);
  const long before = StatusKiB("VmRSS");
  FILE* reset = std::fopen("/proc/self/clear_refs", "w");
  if (reset == nullptr || std::fputs("5", reset) < 0) {
    if (reset) std::fclose(reset);
    return -1;
  }
  std::fclose(reset);
  work();
  const long peak = StatusKiB("VmHWM");
  if (before < 0 || peak < 0) return -1;
  return (static_cast<long long>(peak) - before) * 1024;
}

// One component on each page: 16 radio groups of 256 items, 4 explanation
// boxes of 1024 lines, value edits on the other pages.
std::string LargestPageFile() {
  const std::string text(kMaxOptionText, 't');
  std::string file =
      strprintf("[CurrentUserPage]\r\nCaption=%s\r\nTotal=%d\r\n", text.c_str(), kMaxOptionPages);
  for (int p = 0; p < kMaxOptionPages; ++p) {
    file += strprintf("PageCaption%d=%s\r\n", p, text.c_str());
  }
  constexpr int kRadioGroups = kMaxOptionRadioItems / kMaxRadioItems;
  constexpr int kBoxes = kMaxOptionExplanationLines / kMaxExplanationLines;
  for (int p = 0; p < kMaxOptionPages; ++p) {
    file += strprintf("[CurrentUserPage_%d]\r\nComponentTotal=1\r\nComponentCaption0=%s\r\n", p,
                      text.c_str());
    file += "Top0=8\r\nLeft0=8\r\nWidth0=400\r\nHeight0=200\r\n";
    if (p < kRadioGroups) {
      file +=
          strprintf("ComponentType0=1\r\nRadio0Columns=4\r\nRadio0Total=%d\r\n", kMaxRadioItems);
      for (int k = 0; k < kMaxRadioItems; ++k) {
        file += strprintf("Radio0String%d=%s\r\n", k, text.c_str());
      }
    } else if (p < kRadioGroups + kBoxes) {
      file += strprintf("ComponentType0=3\r\nExplation0Total=%d\r\n", kMaxExplanationLines);
      for (int k = 0; k < kMaxExplanationLines; ++k) {
        file += strprintf("Explation0Line%d=%s\r\n", k, text.c_str());
      }
    } else {
      file += "ComponentType0=2\r\nValueType0=4\r\nValueMax0=4660\r\n";
    }
  }
  return file;
}

void BM_ReadOptionPagesAtTheBound(benchmark::State& state) {
  const fs::path dir =
      fs::temp_directory_path() / ("quenlet-bench-option-pages-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string path = (dir / "pages.ini").string();
  std::ofstream(path, std::ios::binary) << LargestPageFile();
  for (auto _ : state) {
    const OptionPageSet set = ReadOptionPageSet(IniSnapshot(path));
    size_t items = 0;
    size_t lines = 0;
    for (const OptionPage& page : set.pages) {
      for (const OptionComponent& c : page.components) {
        items += c.radio_items.size();
        lines += c.explanation.size();
      }
    }
    if (set.cut || set.pages.size() != size_t{kMaxOptionPages} ||
        items != size_t{kMaxOptionRadioItems} || lines != size_t{kMaxOptionExplanationLines}) {
      state.SkipWithError("the set at the bounds was not read whole");
      break;
    }
  }
  const long long peak = PeakGrowth([&] { ReadOptionPageSet(IniSnapshot(path)); });
  if (peak < 0) state.SkipWithError("the peak of memory could not be measured");
  state.counters["peak_MiB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
  state.counters["file_MiB"] = static_cast<double>(fs::file_size(path)) / (1024.0 * 1024.0);
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}
BENCHMARK(BM_ReadOptionPagesAtTheBound)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
