// Placing an image into the data buffer by data-set mode, and the in-place
// lane commands of the editor (popup Data Set, swap buttons).
#include <algorithm>
#include <cstring>
#include <vector>

#include "buffer/data_buffer.h"
#include "buffer/progress_steps.h"
#include "platform/user_interfaces.h"
#include "state/buffer_limits.h"

namespace quenlet {
namespace {

// One placement: image bytes in, the buffer's block out. The image may be the
// buffer itself (in-place commands, slot at 0); every mode reads an image
// index at or after the index it writes, or reads a whole group before
// writing it, so that works.
struct Slot {
  PageBlock* block;  // the buffer's block
  uint8_t* out;      // its bytes
  const uint8_t* in;
  uint64_t in_size;  // readable image bytes, slack included
  uint64_t len;
  uint64_t dest;

  // A mode may read one group past len: that is the image's slack byte.
  uint8_t In(uint64_t k) const { return k < in_size ? in[k] : 0; }
};

// Swaps the two halves of each group of 2 * half bytes whose highest index i
// satisfies i <= limit; a shorter trailing part stays as the buffer held it.
template <uint64_t kHalf>
void SwapHalves(const Slot& s, uint64_t limit, ProgressSteps& steps) {
  constexpr uint64_t kGroup = 2 * kHalf;
  const uint64_t groups = limit + 1 >= kGroup ? (limit + 1) / kGroup : 0;
  steps.Walk(0, groups, [&](uint64_t a, uint64_t b) {
    for (uint64_t g = a; g < b; ++g) {
      const uint64_t base = g * kGroup;
      uint8_t group[kGroup];
      for (uint64_t k = 0; k < kGroup; ++k) group[k] = s.In(base + k);
      uint8_t* o = s.out + s.dest + base;
      for (uint64_t k = 0; k < kHalf; ++k) {
        o[k] = group[kHalf + k];
        o[kHalf + k] = group[k];
      }
    }
  });
}

// Whether the n bytes at p are all zero.
bool AllZero(const uint8_t* p, uint64_t n) {
  uint64_t any = 0;
  for (; n >= 8; p += 8, n -= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    any |= w;
  }
  while (n > 0) any |= p[--n];
  return any == 0;
}

// Copies image bytes a .. b - 1 into the slot. Whole aligned runs of zeros
// (the holes of a sparse image with a zero fill) are handed back to the
// system in the buffer instead of written, so that they cost nothing.
void CopyImage(const Slot& s, uint64_t a, uint64_t b) {
  constexpr uint64_t kRun = 64 * 1024;
  uint64_t i = a;
  while (i < b) {
    uint64_t zeros = i;
    while ((s.dest + zeros) % kRun == 0 && b - zeros >= kRun && AllZero(s.in + zeros, kRun)) {
      zeros += kRun;
    }
    if (zeros > i) {
      s.block->Zero(s.dest + i, s.dest + zeros);
      i = zeros;
      continue;
    }
    // Up to the buffer's next run boundary.
    const uint64_t at = s.dest + i;
    const uint64_t next = std::min(b, (at / kRun + 1) * kRun - s.dest);
    std::memmove(s.out + at, s.in + i, next - i);
    i = next;
  }
}

// Every k-th image byte from offset into the first count bytes of the slot.
void Gather(const Slot& s, uint64_t every, uint64_t offset, uint64_t count, ProgressSteps& steps) {
  steps.Walk(0, count, [&](uint64_t a, uint64_t b) {
    for (uint64_t k = a; k < b; ++k) s.out[s.dest + k] = s.In(every * k + offset);
  });
}

enum class PairRule {
  UpToLen,       // pairs while i <= len (Byte Swap button)
  UpToLenPlus1,  // pairs while i <= len + 1 (popup Swap Byte)
  WithinSlot,    // pairs inside the slot, an odd last byte as it is (loads)
};

// Writes the slot by mode. Returns the number of slot bytes taken from the
// image (the rest of the slot is the fill's), or -1 when the mode places
// nothing.
int64_t WriteSlot(const Slot& s, int32_t mode, PairRule pairs, ProgressSteps& steps) {
  switch (mode) {
    case kDataEveryByte:
      // An image laid over itself at its own place has nothing to move.
      steps.Walk(0, s.len, [&](uint64_t a, uint64_t b) {
        if (s.in != s.out + s.dest) CopyImage(s, a, b);
      });
      return int64_t(s.len);
    case kDataEvenBytes:
    case kDataOddBytes: {
      const uint64_t count = (s.len + 1) / 2;
      Gather(s, 2, mode == kDataEvenBytes ? 0 : 1, count, steps);
      return int64_t(count);
    }
    case kDataGroupByte0:
    case kDataGroupByte1:
    case kDataGroupByte2:
    case kDataGroupByte3: {
      const uint64_t count = s.len / 4;
      Gather(s, 4, uint64_t(mode - kDataGroupByte0), count, steps);
      return int64_t(count);
    }
    case kDataSwapPairs:
    case kDataByteSwap:
      if (pairs == PairRule::WithinSlot) {
        if (s.len == 0) return 0;
        SwapHalves<1>(s, s.len - 1, steps);
        if (s.len % 2 == 1) s.out[s.dest + s.len - 1] = s.In(s.len - 1);
      } else {
        SwapHalves<1>(s, pairs == PairRule::UpToLenPlus1 ? s.len + 1 : s.len, steps);
      }
      return int64_t(s.len);
    case kDataWordSwap:
      SwapHalves<2>(s, s.len, steps);
      return int64_t(s.len);
    case kDataDoubleSwap:
      SwapHalves<4>(s, s.len, steps);
      return int64_t(s.len);
    default:
      return -1;
  }
}

// A zero fill hands whole pages back instead of writing them: they read as
// zero and cost nothing until written.
void FillRange(PageBlock& block, uint64_t from, uint64_t to, uint8_t fill, ProgressSteps& steps) {
  steps.Walk(from, to, [&](uint64_t a, uint64_t b) {
    if (fill == 0) {
      block.Zero(a, b);
    } else {
      std::memset(block.get() + a, fill, b - a);
    }
  });
}

bool Overlaps(std::span<const uint8_t> image, std::span<const uint8_t> block) {
  if (image.empty() || block.empty()) return false;
  const uint8_t* b = block.data();
  const uint8_t* i = image.data();
  return i < b + block.size() && b < i + image.size();
}

}  // namespace

bool DataBuffer::PlaceByMode(const uint8_t* image, uint64_t image_size, uint64_t len, uint8_t fill,
                             uint64_t dest, int32_t mode, bool fill_around, bool even_odd_rules,
                             Progress& progress) {
  const uint64_t size = buf_size_;
  const bool tail =
      even_odd_rules && mode == kDataSwapPairs ? dest + len + 2 < size : dest + len < size;
  // A hundredth of the work, as the placement walks it; a slot that ends at
  // BufSize takes its step from the image length.
  const uint64_t walked = fill_around ? (tail ? size + 1 : dest + len) : len;
  const uint64_t step_base = dest + len < size ? size : len;
  ProgressSteps steps(progress, std::max(step_base, walked));

  progress.SetCaption("Loading...");
  progress.Show();
  progress.SetPosition(0);

  // Mode 3 is the popup's own; left behind for a later load it swaps the
  // pairs of the slot instead of placing nothing.
  const bool known = mode == kDataEveryByte || mode == kDataEvenBytes || mode == kDataOddBytes ||
                     mode == kDataSwapPairs ||
                     (!even_odd_rules &&
                      ((mode >= kDataGroupByte0 && mode <= kDataGroupByte3) ||
                       mode == kDataByteSwap || mode == kDataWordSwap || mode == kDataDoubleSwap));
  PairRule pairs = PairRule::UpToLen;
  if (mode == kDataSwapPairs)
    pairs = even_odd_rules ? PairRule::UpToLenPlus1 : PairRule::WithinSlot;
  bool placed = false;
  if (known && HasBuffer()) {
    uint8_t* out = block_.get();
    if (fill_around) FillRange(block_, 0, dest, fill, steps);
    const Slot slot{&block_, out, image, image_size, len, dest};
    const int64_t taken = WriteSlot(slot, mode, pairs, steps);
    if (fill_around) {
      FillRange(block_, dest + uint64_t(taken), dest + len, fill, steps);
      // Up to and including index BufSize: that byte is slack.
      if (tail) FillRange(block_, dest + len, size + 1, fill, steps);
    }
    placed = taken >= 0;
  }

  progress.SetCaption("Waiting...");
  progress.Complete();
  progress.Close();
  return placed;
}

bool DataBuffer::Place(std::span<const uint8_t> image, int64_t len, uint8_t fill, int64_t dest,
                       bool fill_around, bool even_odd_rules, Messages& messages,
                       Progress& progress) {
  if (len < 0 || dest < 0 || uint64_t(len) > image.size()) return false;
  // An image inside the buffer would move with the growth: place a copy.
  std::vector<uint8_t> copy;
  if (Overlaps(image, Block())) {
    copy.assign(image.begin(), image.end());
    image = copy;
  }
  if (!Grow(dest, len, messages)) return false;
  return PlaceByMode(image.data(), image.size(), uint64_t(len), fill, uint64_t(dest), data_mode_,
                     fill_around, even_odd_rules, progress);
}

bool DataBuffer::PlaceImageWithFill(std::span<const uint8_t> image, int64_t len, uint8_t fill,
                                    int64_t dest, Messages& messages, Progress& progress) {
  return Place(image, len, fill, dest, true, false, messages, progress);
}

bool DataBuffer::PlaceImage(std::span<const uint8_t> image, int64_t len, int64_t dest,
                            Messages& messages, Progress& progress) {
  return Place(image, len, 0, dest, false, false, messages, progress);
}

bool DataBuffer::PlaceImageEvenOdd(std::span<const uint8_t> image, int64_t len, uint8_t fill,
                                   int64_t dest, Messages& messages, Progress& progress) {
  return Place(image, len, fill, dest, true, true, messages, progress);
}

bool DataBuffer::AdoptImage(PageBlock& image, uint64_t len, int64_t n, uint8_t fill,
                            Progress& progress) {
  if (n < 0 || uint64_t(n) > kMaxBufferSize) return false;
  const uint64_t size = uint64_t(n) + kSizeExtra;
  const uint64_t block = uint64_t(n) + kBlockExtra;
  if (len == 0 || len > size || len > image.size()) return false;
  // In place where the block is mapped: the image's pages stay where they are.
  if (!image.Resize(static_cast<size_t>(block))) return false;

  PageBlock old = std::move(block_);
  block_ = std::move(image);
  uint8_t* out = block_.get();
  // The slack above what the placement fills holds what the old block held
  // there, else zero, as a resize leaves it (less than 1 KB either way).
  const uint64_t filled_to = len < size ? size + 1 : len;
  const uint64_t kept_to = std::max(filled_to, std::min<uint64_t>(old.size(), block));
  if (kept_to > filled_to) std::memcpy(out + filled_to, old.get() + filled_to, kept_to - filled_to);
  std::memset(out + kept_to, 0, block - kept_to);
  // The old block goes before the fill touches the new one.
  old = PageBlock();

  SetSizeFor(uint64_t(n));
  // The image already stands at 0: placing it over itself walks the progress
  // and fills the tail as a placement of a copy would.
  return PlaceByMode(out, block, len, fill, 0, kDataEveryByte, true, false, progress);
}

bool DataBuffer::SetDataSetInPlace(int32_t mode, Progress& progress) {
  data_mode_ = mode;
  if (!HasBuffer()) return false;
  // The buffer is its own image; its slack stands behind the last byte.
  const bool placed =
      PlaceByMode(block_.get(), block_.size(), buf_size_, 0, 0, mode, true, true, progress);
  Changed(BufferChange::Contents);
  return placed;
}

bool DataBuffer::SwapInPlace(int32_t swap_mode, Progress& progress) {
  if (swap_mode != kDataByteSwap && swap_mode != kDataWordSwap && swap_mode != kDataDoubleSwap)
    return false;
  if (!HasBuffer()) return false;
  const int32_t saved = data_mode_;
  data_mode_ = swap_mode;
  const bool placed =
      PlaceByMode(block_.get(), block_.size(), buf_size_, 0, 0, swap_mode, true, false, progress);
  data_mode_ = saved;
  Changed(BufferChange::Contents);
  return placed;
}

}  // namespace quenlet
