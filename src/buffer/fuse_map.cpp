#include "buffer/fuse_map.h"

#include <algorithm>
#include <new>

#include "state/buffer_limits.h"

namespace quenlet {

bool FuseMap::Init(int64_t fuse_count) {
  Free();
  // The count comes from two 16-bit words of the device file: one larger
  // than the biggest data buffer is refused before anything is allocated.
  if (fuse_count < 1 || static_cast<uint64_t>(fuse_count) > kMaxBufferSize) return false;
  try {
    std::vector<uint8_t> fresh(static_cast<size_t>(fuse_count) + kTailSize, kNoFuse);
    std::fill(fresh.begin(), fresh.begin() + fuse_count, uint8_t{0});
    bytes_.swap(fresh);
  } catch (const std::bad_alloc&) {
    return false;
  }
  fuse_count_ = static_cast<uint32_t>(fuse_count);
  return true;
}

void FuseMap::Free() {
  std::vector<uint8_t>().swap(bytes_);
  fuse_count_ = 0;
}

bool FuseMap::SetFuse(uint64_t n, uint8_t value) {
  if (n >= fuse_count_) return false;
  bytes_[n] = AsFuse(value);
  return true;
}

bool FuseMap::StoreFuses(uint64_t first, std::span<const uint8_t> values) {
  if (first > fuse_count_ || values.size() > fuse_count_ - first) return false;
  std::transform(values.begin(), values.end(), bytes_.begin() + static_cast<ptrdiff_t>(first),
                 AsFuse);
  return true;
}

bool FuseMap::FillFuses(uint64_t first, uint64_t last, uint8_t value) {
  if (first >= fuse_count_ || last < first) return false;
  last = std::min<uint64_t>(last, fuse_count_ - 1);
  std::fill(bytes_.begin() + static_cast<ptrdiff_t>(first),
            bytes_.begin() + static_cast<ptrdiff_t>(last) + 1, AsFuse(value));
  return true;
}

uint64_t FuseMap::CountDiffering(uint64_t first, std::span<const uint8_t> values) const {
  uint64_t differing = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    const uint64_t n = first + i;
    differing += n >= fuse_count_ || bytes_[n] != AsFuse(values[i]);
  }
  return differing;
}

uint32_t FuseMap::CheckSum() const {
  const std::span<const uint8_t> fuses = Fuses();
  uint32_t sum = 0;
  for (size_t start = 0; start < fuses.size(); start += 8) {
    const size_t group = std::min<size_t>(8, fuses.size() - start);
    uint32_t byte = 0;
    for (size_t k = 0; k < group; ++k) byte |= uint32_t{fuses[start + k]} << k;
    sum += byte;
  }
  return sum;
}

bool FuseMap::TakeShownSum(uint32_t sum) {
  const bool differs = sum != last_shown_sum_;
  last_shown_sum_ = sum;
  return differs;
}

}  // namespace quenlet
