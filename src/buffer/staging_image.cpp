#include "buffer/staging_image.h"

#include <sys/mman.h>

#include <new>

namespace quenlet {

bool StagingImage::GrowFor(uint64_t end) {
  // Geometric growth: records arrive one short step at a time and must not
  // cost a copy of the image each.
  const uint64_t step = capacity_ < 4096 ? 4096 : capacity_ * 2;
  return Grow(step > end ? step : end);
}

bool StagingImage::Grow(uint64_t want) {
  if (want > limit_) want = limit_;
  if (size_ == 0) {
    // Nothing to keep: the old block goes before the new one is taken.
    bytes_.reset();
    capacity_ = 0;
  }
  // Not zeroed: every byte below size_ is written before it is read.
  std::unique_ptr<uint8_t[]> fresh(new (std::nothrow) uint8_t[static_cast<size_t>(want)]);
  if (!fresh) return false;
  // Large images in huge pages: a 16 MB image would otherwise take four
  // thousand page faults on its first writes.
  constexpr uint64_t kHuge = 2 * 1024 * 1024;
  if (want >= 2 * kHuge) {
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(fresh.get()) + kHuge - 1) & ~(kHuge - 1);
    const uintptr_t stop = (reinterpret_cast<uintptr_t>(fresh.get()) + want) & ~(kHuge - 1);
    if (stop > begin) ::madvise(reinterpret_cast<void*>(begin), stop - begin, MADV_HUGEPAGE);
  }
  if (size_ > 0) std::memcpy(fresh.get(), bytes_.get(), static_cast<size_t>(size_));
  bytes_ = std::move(fresh);
  capacity_ = want;
  return true;
}

void StagingImage::Reserve(uint64_t n) {
  if (n > limit_) n = limit_;
  if (n > capacity_) Grow(n);  // a hint: when it fails, growth on demand decides
}

}  // namespace quenlet
