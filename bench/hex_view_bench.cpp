// The hex editor's view core on a 512 MiB + 1024 buffer and on an 8 KiB
// one: nothing it does may cost in proportion to the buffer.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "buffer/data_buffer.h"
#include "buffer/hex_view.h"
#include "support/fakes.h"

namespace {

using quenlet::DataBuffer;
using quenlet::HexGrid;
using quenlet::HexView;
using quenlet::ScrollCode;

constexpr int64_t k512MiB = 512ll * 1024 * 1024;

std::unique_ptr<DataBuffer> MakeBuffer(bool large) {
  auto buffer = std::make_unique<DataBuffer>();
  quenlet::testing::FakeMessages messages;
  if (large) buffer->ResizeBuffer(k512MiB, messages);
  auto bytes = buffer->Bytes();
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7 + (i >> 9));
  return buffer;
}

// One buffer of each size for every benchmark, its view back at the top.
DataBuffer& Buffer(bool large) {
  static const std::unique_ptr<DataBuffer> small = MakeBuffer(false);
  static const std::unique_ptr<DataBuffer> big = MakeBuffer(true);
  DataBuffer& buffer = large ? *big : *small;
  buffer.SetViewPage(0);
  buffer.SetViewTopRow(0);
  return buffer;
}

// The view over one of the buffers; none when the large one could not be had.
std::optional<HexView> OpenView(benchmark::State& state, bool large) {
  DataBuffer& buffer = Buffer(large);
  if (large && buffer.BufSize() != k512MiB + DataBuffer::kSizeExtra) {
    state.SkipWithError("no 512 MiB buffer");
    return std::nullopt;
  }
  return std::optional<HexView>(std::in_place, buffer);
}

// Texts of all six grids for one screen, at 1000 pseudo-random rows.
void Refresh(benchmark::State& state, bool large) {
  std::optional<HexView> opened = OpenView(state, large);
  if (!opened) return;
  HexView& view = *opened;
  std::mt19937_64 random(12345);
  std::vector<int64_t> rows(1000);
  for (int64_t& row : rows) row = int64_t(random() % uint64_t(view.LastStartRow() + 1));
  size_t next = 0;
  for (auto _ : state) {
    view.SetTopRow(rows[next]);
    next = (next + 1) % rows.size();
    uint32_t mix = 0;
    for (int g = 0; g < quenlet::kHexGridCount; ++g) {
      const auto grid = static_cast<HexGrid>(g);
      const int columns = view.Columns(grid);
      for (int row = 0; row < HexView::kGridRows; ++row) {
        for (int column = 0; column < columns; ++column) {
          const quenlet::CellText text = view.Cell(grid, row, column);
          mix = mix * 31 + uint8_t(text.chars[0]) + text.size;
        }
      }
    }
    benchmark::DoNotOptimize(mix);
  }
}

void BM_HexViewRefresh512MiB(benchmark::State& state) {
  Refresh(state, true);
}
void BM_HexViewRefresh8KiB(benchmark::State& state) {
  Refresh(state, false);
}
BENCHMARK(BM_HexViewRefresh512MiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HexViewRefresh8KiB)->Unit(benchmark::kMicrosecond);

// The bar dragged to its end (and back, every other time).
void BM_HexViewScrollToEnd(benchmark::State& state, bool large) {
  std::optional<HexView> opened = OpenView(state, large);
  if (!opened) return;
  HexView& view = *opened;
  const int64_t last = view.LastStartRow();
  bool to_end = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(view.Scroll(ScrollCode::EndScroll, to_end ? last : 0));
    to_end = !to_end;
  }
}
BENCHMARK_CAPTURE(BM_HexViewScrollToEnd, 512MiB, true);
BENCHMARK_CAPTURE(BM_HexViewScrollToEnd, 8KiB, false);

// One digit typed into an address cell: the view jumps to the end and back.
void BM_HexViewAddressJump(benchmark::State& state, bool large) {
  std::optional<HexView> opened = OpenView(state, large);
  if (!opened) return;
  HexView& view = *opened;
  bool far = true;
  for (auto _ : state) {
    view.Select(HexGrid::Address8, 1, 0);
    benchmark::DoNotOptimize(view.Type(HexGrid::Address8, far ? 'F' : '0'));
    far = !far;
  }
}
BENCHMARK_CAPTURE(BM_HexViewAddressJump, 512MiB, true);
BENCHMARK_CAPTURE(BM_HexViewAddressJump, 8KiB, false);

void BM_HexViewPageDownAtEnd(benchmark::State& state, bool large) {
  std::optional<HexView> opened = OpenView(state, large);
  if (!opened) return;
  HexView& view = *opened;
  view.SetTopRow(view.LastStartRow());
  for (auto _ : state) benchmark::DoNotOptimize(view.Scroll(ScrollCode::PageDown, 0));
}
BENCHMARK_CAPTURE(BM_HexViewPageDownAtEnd, 512MiB, true);
BENCHMARK_CAPTURE(BM_HexViewPageDownAtEnd, 8KiB, false);

// 10,000 bytes typed as hex digits through the typing rules (store, move on),
// near the end of the buffer.
void BM_HexViewTyping(benchmark::State& state, bool large) {
  std::optional<HexView> opened = OpenView(state, large);
  if (!opened) return;
  HexView& view = *opened;
  constexpr int kBytes = 10000;
  static constexpr char kDigits[] = "0123456789abcdef";
  view.SetTopRow(view.LastStartRow());
  for (auto _ : state) {
    view.Select(HexGrid::Hex8, 1, 0);
    for (int i = 0; i < kBytes; ++i) {
      view.Type(HexGrid::Hex8, uint8_t(kDigits[i & 15]));
      view.Type(HexGrid::Hex8, uint8_t(kDigits[(i >> 4) & 15]));
    }
  }
  state.counters["per_byte"] = benchmark::Counter(
      kBytes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(BM_HexViewTyping, 512MiB, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HexViewTyping, 8KiB, false)->Unit(benchmark::kMicrosecond);

}  // namespace
