#pragma once
#include <cstdint>

namespace quenlet {

// The largest data buffer the program accepts, in bytes (512 MiB): a 2 Gbit
// device laid into 16-bit lanes. Device files and data files that would need
// more are refused with a message instead of allocating or wrapping sizes.
inline constexpr uint64_t kMaxBufferSize = 512ull * 1024 * 1024;

// The data buffer's sizes (DataBuffer names them too): ResizeBuffer(n)
// makes BufSize n + kSizeExtra in a block of n + kBlockExtra, so 976 bytes of
// slack stand above BufSize; placements grow to the next kGrowthUnit above
// what they need.
inline constexpr uint32_t kSizeExtra = 1024;
inline constexpr uint32_t kBlockExtra = 2000;
inline constexpr uint32_t kGrowthUnit = 65536;

// The block the data buffer keeps for a BufSize.
inline constexpr uint64_t BlockForBufSize(uint64_t buf_size) {
  return buf_size - kSizeExtra + kBlockExtra;
}

// The BufSize a placement grows to for data that reaches `end` bytes: the
// next 64 KB step above it, plus kSizeExtra.
inline constexpr uint64_t GrownBufSize(uint64_t end) {
  return end / kGrowthUnit * kGrowthUnit + kGrowthUnit + kSizeExtra;
}

// What a file reader reserves for an image whose records reach `extent`
// bytes: the block the data buffer grows to for that data, so that the
// buffer can take the image's array over instead of holding a copy beside it.
inline constexpr uint64_t ImageRoomFor(uint64_t extent) {
  return BlockForBufSize(GrownBufSize(extent));
}

}  // namespace quenlet
