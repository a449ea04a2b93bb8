#pragma once
#include <cstdint>

namespace quenlet {

// The largest data buffer the program accepts, in bytes (512 MiB): a 2 Gbit
// device laid into 16-bit lanes. Device files and data files that would need
// more are refused with a message instead of allocating or wrapping sizes.
inline constexpr uint64_t kMaxBufferSize = 512ull * 1024 * 1024;

}  // namespace quenlet
