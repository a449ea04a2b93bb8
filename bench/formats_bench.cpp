// Reading and writing 16 MiB images as Intel HEX and Motorola S3 files, from
// and into a data buffer, through the program's own readers and writers and
// a file in a temporary folder.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <random>
#include <string>

#include "buffer/binary_file.h"
#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/intel_hex.h"
#include "buffer/load_pipeline.h"
#include "buffer/save_pipeline.h"
#include "platform/user_interfaces.h"
#include "support/fakes.h"
#include "support/high_hex_text.h"

// Bytes held through operator new in this program, and the most held since
// the last reset: the memory counters of the benchmarks below.
namespace {

std::atomic<size_t> live_bytes{0};
std::atomic<size_t> peak_bytes{0};

void* Take(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) return nullptr;
  const size_t live = live_bytes.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) +
                      malloc_usable_size(p);
  size_t peak = peak_bytes.load(std::memory_order_relaxed);
  while (live > peak && !peak_bytes.compare_exchange_weak(peak, live)) {
  }
  return p;
}

void Give(void* p) {
  if (!p) return;
  live_bytes.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
  std::free(p);
}

void* TakeOrThrow(size_t n) {
  if (void* p = Take(n)) return p;
  throw std::bad_alloc();
}

// The most bytes held above what was held when the scope began.
class PeakAbove {
 public:
  PeakAbove() : base_(live_bytes.load()) { peak_bytes = base_; }
  size_t bytes() const { return peak_bytes.load() - base_; }

 private:
  size_t base_;
};

}  // namespace

void* operator new(size_t n) {
  return TakeOrThrow(n);
}
void* operator new[](size_t n) {
  return TakeOrThrow(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept {
  return Take(n);
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept {
  return Take(n);
}
void operator delete(void* p) noexcept {
  Give(p);
}
void operator delete[](void* p) noexcept {
  Give(p);
}
void operator delete(void* p, size_t) noexcept {
  Give(p);
}
void operator delete[](void* p, size_t) noexcept {
  Give(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  Give(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  Give(p);
}

namespace {

namespace fs = std::filesystem;
using namespace quenlet;

constexpr int64_t kImageSize = 16ll * 1024 * 1024;

struct Folder {
  Folder() {
    path = fs::temp_directory_path() / ("quenlet-bench-" + std::to_string(::getpid()));
    fs::create_directories(path);
  }
  ~Folder() { fs::remove_all(path); }
  std::string File(const char* name) const { return (path / name).string(); }
  fs::path path;
};

// A buffer holding 16 MiB of pseudo-random bytes from seed 1.
bool FillBuffer(DataBuffer& buffer, testing::FakeMessages& messages) {
  if (!buffer.ResizeBuffer(kImageSize, messages)) return false;
  std::mt19937 rng(1);
  for (int64_t i = 0; i < kImageSize; ++i) buffer.Bytes()[size_t(i)] = uint8_t(rng());
  return true;
}

void WriteBench(benchmark::State& state, int32_t save_format, const char* name) {
  Folder folder;
  DataBuffer buffer;
  testing::FakeMessages messages;
  NullProgress progress;
  if (!FillBuffer(buffer, messages)) return state.SkipWithError("no 16 MiB buffer");
  const std::string file = folder.File(name);
  for (auto _ : state) {
    if (!SaveRange(buffer, file, 0, kImageSize - 1, save_format, messages, progress)) {
      return state.SkipWithError("save failed");
    }
  }
  state.SetBytesProcessed(state.iterations() * kImageSize);
  state.counters["file_bytes"] = static_cast<double>(GetFileLength(file));
}

void ReadBench(benchmark::State& state, int32_t save_format, int32_t load_format,
               const char* name) {
  Folder folder;
  testing::FakeMessages messages;
  NullProgress progress;
  const std::string file = folder.File(name);
  {
    DataBuffer source;
    if (!FillBuffer(source, messages)) return state.SkipWithError("no 16 MiB buffer");
    if (!SaveRange(source, file, 0, kImageSize - 1, save_format, messages, progress)) {
      return state.SkipWithError("save failed");
    }
  }
  DataBuffer buffer;
  LoadRequest request;
  request.name = file;
  request.format = load_format;
  request.fill = 0xFF;
  request.fill_unused = true;
  for (auto _ : state) {
    FileRangeRead text = ReadFileBytes(file, 0, GetFileLength(file) - 1);
    const LoadOutcome outcome =
        LoadTextIntoBuffer(buffer, std::move(text.bytes), request, messages, progress);
    if (!outcome.loaded || outcome.placed != uint64_t(kImageSize)) {
      return state.SkipWithError("load failed");
    }
  }
  state.SetBytesProcessed(state.iterations() * kImageSize);
}

void BM_ReadIntelHex16MiB(benchmark::State& state) {
  ReadBench(state, kSaveIntelHex, kLoadIntelHex, "image.hex");
}
void BM_WriteIntelHex16MiB(benchmark::State& state) {
  WriteBench(state, kSaveIntelHex, "image.hex");
}
void BM_ReadSRecord16MiB(benchmark::State& state) {
  ReadBench(state, kSaveMotorolaS3, kLoadMotorola, "image.s3");
}
void BM_WriteSRecord16MiB(benchmark::State& state) {
  WriteBench(state, kSaveMotorolaS3, "image.s3");
}

// 64 KiB of data at 0x08000000: the image holds 128 MiB of fill below it.
// peak_bytes is what one read holds at most (the image and the reader's own
// bytes); load_peak_bytes what one whole load from the file holds at most:
// text, image and the buffer the image is laid into.
void BM_ReadIntelHexAt128MiB(benchmark::State& state) {
  constexpr uint32_t kAddress = 0x08000000;
  constexpr uint32_t kData = 0x10000;
  const std::string text = testing::HighIntelText(kAddress, kData);
  NullProgress progress;
  size_t peak = 0;
  for (auto _ : state) {
    PeakAbove measure;
    HexReadResult r = ReadIntelHex(text, 0xFF, progress);
    if (!r.ok() || r.image.Bytes().size() != kAddress + kData) {
      return state.SkipWithError("read failed");
    }
    benchmark::DoNotOptimize(r.image.Bytes().data());
    peak = std::max(peak, measure.bytes());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["text_bytes"] = static_cast<double>(text.size());

  Folder folder;
  const std::string file = folder.File("high.hex");
  {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return state.SkipWithError("no file");
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
  }
  testing::FakeMessages messages;
  LoadRequest request;
  request.name = file;
  request.format = kLoadIntelHex;
  request.fill = 0xFF;
  request.fill_unused = true;
  PeakAbove measure;
  {
    DataBuffer buffer;
    FileRangeRead read = ReadFileBytes(file, 0, GetFileLength(file) - 1);
    if (!LoadTextIntoBuffer(buffer, std::move(read.bytes), request, messages, progress).loaded) {
      return state.SkipWithError("load failed");
    }
  }
  state.counters["load_peak_bytes"] = static_cast<double>(measure.bytes());
}

BENCHMARK(BM_ReadIntelHex16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadIntelHexAt128MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteIntelHex16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSRecord16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSRecord16MiB)->Unit(benchmark::kMillisecond);

}  // namespace
