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
  bytes_[n] = value != 0 ? 1 : 0;
  return true;
}

uint32_t FuseCheckSum(std::span<const uint8_t> fuses) {
  uint32_t sum = 0;
  for (size_t start = 0; start < fuses.size(); start += 8) {
    const size_t group = std::min<size_t>(8, fuses.size() - start);
    uint32_t byte = 0;
    for (size_t k = 0; k < group; ++k) {
      if (fuses[start + k] == 1) byte |= 1u << k;
    }
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
