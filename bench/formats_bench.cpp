// Reading and writing 16 MiB images as Intel HEX and Motorola S3 files, from
// and into a data buffer, through the program's own readers and writers and
// a file in a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "buffer/binary_file.h"
#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/load_pipeline.h"
#include "buffer/save_pipeline.h"
#include "platform/user_interfaces.h"
#include "support/fakes.h"

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

BENCHMARK(BM_ReadIntelHex16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteIntelHex16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSRecord16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSRecord16MiB)->Unit(benchmark::kMillisecond);

}  // namespace
