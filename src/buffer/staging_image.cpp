#include "buffer/staging_image.h"

namespace quenlet {

bool StagingImage::GrowFor(uint64_t end) {
  // Geometric growth: records arrive one short step at a time and must not
  // cost a copy of the image each.
  const uint64_t capacity = Capacity();
  const uint64_t step = capacity < 4096 ? 4096 : capacity * 2;
  return Grow(step > end ? step : end);
}

bool StagingImage::Grow(uint64_t want) {
  if (want > limit_) want = limit_;
  // Nothing to keep: the old block goes before the new one is taken.
  if (size_ == 0) bytes_ = PageBlock();
  // The bytes kept move with their pages; new ones are zero.
  return bytes_.Resize(static_cast<size_t>(want));
}

void StagingImage::Reserve(uint64_t n) {
  if (n > limit_) n = limit_;
  if (n > Capacity()) Grow(n);  // a hint: when it fails, growth on demand decides
}

}  // namespace quenlet
