#pragma once
#include <cstdint>

namespace quenlet {

// The largest data buffer the program accepts, in bytes (512 MiB): a 2 Gbit
// device laid into 16-bit lanes. Device files and data files that would need
// more are refused with a message instead of allocating or wrapping sizes.
inline constexpr uint64_t kMaxBufferSize = 512ull * 1024 * 1024;

// The block the data buffer keeps for a BufSize: 976 bytes of slack above
// it (BufSize n + 1024 in a block of n + 2000).
inline constexpr uint64_t BlockForBufSize(uint64_t buf_size) {
  return buf_size - 1024 + 2000;
}

// What a file reader reserves for an image whose records reach `extent`
// bytes: the block the data buffer grows to for that data (the next 64 KB
// above it), so that the buffer can take the image's array over instead of
// holding a copy beside it.
inline constexpr uint64_t ImageRoomFor(uint64_t extent) {
  return BlockForBufSize(extent / 65536 * 65536 + 65536 + 1024);
}

}  // namespace quenlet
