// One full paint of the Edit page: the buffer editor with its 8-bit view.
#include <benchmark/benchmark.h>

#include <QImage>

#include "buffer/data_buffer.h"
#include "state/main_form_state.h"
#include "support/fakes.h"
#include "ui/buffer/main_edit.h"

namespace {

void BM_EditPagePaint(benchmark::State& state) {
  quenlet::DataBuffer buffer;
  quenlet::MainFormState form_state;
  quenlet::testing::FakeMessages messages;
  quenlet::NullProgress progress;
  if (!buffer.ResizeBuffer(16ll * 1024 * 1024, messages)) {
    state.SkipWithError("no buffer");
    return;
  }
  auto bytes = buffer.Bytes();
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 37 + (i >> 4));
  quenlet::TMainEdit edit(buffer, form_state, messages, progress);
  edit.show();
  QImage image(edit.size(), QImage::Format_ARGB32_Premultiplied);
  int64_t row = 0;
  for (auto _ : state) {
    // A new screen each time, so nothing drawn is reused.
    edit.View().SetTopRow(row);
    row = (row + 4099) % edit.View().LastStartRow();
    edit.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_EditPagePaint)->Unit(benchmark::kMillisecond);

}  // namespace
