#pragma once
// Block copy, move and swap within the data buffer. The source is start ..
// end inclusive, the destination dest .. dest + end - start. Each returns
// false, leaving the bytes as they were, when either range leaves the buffer;
// the cases defined to do nothing (a destination equal to the source start,
// end < start) return true.
#include <cstdint>
#include <span>

namespace quenlet {

// As through a temporary block, also for overlapping ranges.
bool BlockCopy(int64_t start, int64_t end, std::span<uint8_t> buffer, int64_t dest);

// The destination receives the source as it was; every source byte that is
// not in the destination becomes 0.
bool BlockMove(int64_t start, int64_t end, std::span<uint8_t> buffer, int64_t dest);

// For i = start .. end ascending, byte i and byte dest + (i - start) trade
// places (overlapping ranges come out as that loop leaves them).
bool BlockSwap(int64_t start, int64_t end, std::span<uint8_t> buffer, int64_t dest);

}  // namespace quenlet
