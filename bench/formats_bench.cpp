// Reading and writing 16 MiB images as Intel HEX and Motorola S3 files, from
// and into a data buffer, through the program's own readers and writers and
// a file in a temporary folder; whole loads of 128 MiB images.
//
// Memory counters: peak_bytes is the most this program held at once through
// operator new and its own anonymous mappings (support/counting_memory.h),
// above what it held when the measured work began; resident_bytes the most
// it held resident (pages really touched, the kernel's count) above the same
// mark.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "buffer/binary_file.h"
#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/intel_hex.h"
#include "buffer/load_pipeline.h"
#include "buffer/motorola_srec.h"
#include "buffer/save_pipeline.h"
#include "platform/program_paths.h"
#include "platform/user_interfaces.h"
#include "state/main_form_state.h"
#include "support/counting_memory.h"
#include "support/fake_load_save_windows.h"
#include "support/fakes.h"
#include "support/high_hex_text.h"
#include "support/resident_peak.h"

namespace {

namespace fs = std::filesystem;
using namespace quenlet;

constexpr int64_t kImageSize = 16ll * 1024 * 1024;
constexpr int64_t kLargeImageSize = 128ll * 1024 * 1024;

struct Folder {
  Folder() {
    path = fs::temp_directory_path() / ("quenlet-bench-" + std::to_string(::getpid()));
    fs::create_directories(path);
  }
  ~Folder() { fs::remove_all(path); }
  std::string File(const char* name) const { return (path / name).string(); }
  fs::path path;
};

// A buffer holding `size` pseudo-random bytes from seed 1.
bool FillBuffer(DataBuffer& buffer, testing::FakeMessages& messages, int64_t size = kImageSize) {
  if (!buffer.ResizeBuffer(size, messages)) return false;
  std::mt19937 rng(1);
  const auto bytes = buffer.Bytes();
  for (int64_t i = 0; i < size; ++i) bytes[size_t(i)] = uint8_t(rng());
  return true;
}

// A file of `size` pseudo-random bytes from seed 1 in `save_format`, in a
// temporary folder of its own.
struct SavedImage {
  SavedImage(const char* name, int64_t size, int32_t save_format) : file(folder.File(name)) {
    DataBuffer source;
    testing::FakeMessages messages;
    NullProgress progress;
    saved = FillBuffer(source, messages, size) &&
            SaveRange(source, file, 0, size - 1, save_format, messages, progress);
  }
  Folder folder;
  std::string file;
  bool saved = false;
};

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
  const SavedImage image(name, kImageSize, save_format);
  if (!image.saved) return state.SkipWithError("save failed");
  const std::string& file = image.file;
  testing::FakeMessages messages;
  NullProgress progress;
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

// The reader alone over a 16 MiB image's text held in memory: the speed per
// data byte of each format's parsing, image included.
void ParseBench(benchmark::State& state, int32_t save_format, const char* name,
                HexReadResult (*read)(std::string_view, uint8_t, Progress&, uint64_t)) {
  const SavedImage image(name, kImageSize, save_format);
  if (!image.saved) return state.SkipWithError("save failed");
  const FileRangeRead text = ReadFileBytes(image.file, 0, GetFileLength(image.file) - 1);
  NullProgress progress;
  for (auto _ : state) {
    HexReadResult r = read(text.bytes, 0xFF, progress, kMaxBufferSize);
    if (!r.ok() || r.image.Bytes().size() != uint64_t(kImageSize)) {
      return state.SkipWithError("read failed");
    }
    benchmark::DoNotOptimize(r.image.Bytes().data());
  }
  state.SetBytesProcessed(state.iterations() * kImageSize);
}

void BM_ParseIntelHex16MiB(benchmark::State& state) {
  ParseBench(state, kSaveIntelHex, "parse.hex", ReadIntelHex);
}
void BM_ParseSRecord16MiB(benchmark::State& state) {
  ParseBench(state, kSaveMotorolaS3, "parse.s3", ReadMotorolaS);
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
    testing::memory::PeakAbove measure;
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
  testing::memory::PeakAbove measure;
  {
    DataBuffer buffer;
    FileRangeRead read = ReadFileBytes(file, 0, GetFileLength(file) - 1);
    if (!LoadTextIntoBuffer(buffer, std::move(read.bytes), request, messages, progress).loaded) {
      return state.SkipWithError("load failed");
    }
  }
  state.counters["load_peak_bytes"] = static_cast<double>(measure.bytes());
}

// The whole load of a 128 MiB image from its file, as the editor's Load
// command runs it: LoadFileClick with the load dialog scripted (the file, its
// whole range, fill 0xFF around the data), into a new buffer each time (the
// 8 KB one of a program just started). buffer_bytes is the block the load
// leaves, file_bytes the file's size.
void LoadClickBench(benchmark::State& state, int32_t save_format, int32_t load_format,
                    const char* name) {
  const SavedImage image(name, kLargeImageSize, save_format);
  if (!image.saved) return state.SkipWithError("save failed");
  const std::string& file = image.file;
  testing::FakeMessages messages;
  NullProgress progress;
  const uint64_t file_bytes = GetFileLength(file);
  const std::string history = image.folder.File("History_1.ini");
  const ProgramPaths paths(image.folder.path.string() + "/");
  MainFormState form_state;
  testing::FakeLoadSaveWindows windows;
  std::unique_ptr<DataBuffer> buffer;
  windows.on_load_dialog = [&] {
    testing::WriteLoadDialog(history, *buffer, file, file_bytes - 1, load_format, 0xFF);
    return true;
  };
  size_t peak = 0;
  uint64_t resident = 0;
  uint64_t block = 0;
  for (auto _ : state) {
    state.PauseTiming();
    buffer = std::make_unique<DataBuffer>();
    buffer->SetHistoryIniPath(history);
    LoadSaveContext context{*buffer, form_state, paths, messages, progress, windows};
    testing::memory::PeakAbove held;
    testing::ResidentPeak touched;
    state.ResumeTiming();
    const bool loaded = LoadFileClick(context);
    state.PauseTiming();
    if (!loaded || !messages.boxes.empty() || buffer->FileSize() != kLargeImageSize) {
      return state.SkipWithError("load failed");
    }
    peak = std::max(peak, held.bytes());
    resident = std::max(resident, touched.bytes());
    block = buffer->BlockSize();
    buffer.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * kLargeImageSize);
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["resident_bytes"] = static_cast<double>(resident);
  state.counters["buffer_bytes"] = static_cast<double>(block);
  state.counters["file_bytes"] = static_cast<double>(file_bytes);
}

void BM_ReadIntelHex128MiB(benchmark::State& state) {
  LoadClickBench(state, kSaveIntelHex, kLoadIntelHex, "large.hex");
}
void BM_ReadSRecord128MiB(benchmark::State& state) {
  LoadClickBench(state, kSaveMotorolaS3, kLoadMotorola, "large.s3");
}

BENCHMARK(BM_ReadIntelHex16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadIntelHexAt128MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteIntelHex16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSRecord16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseIntelHex16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseSRecord16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadIntelHex128MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSRecord128MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSRecord16MiB)->Unit(benchmark::kMillisecond);

}  // namespace
