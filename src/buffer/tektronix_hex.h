#pragma once
// Tektronix hex files: "/" AAAA LL HH DD... CC, HH the sum of the values of
// the six digits AAAA LL and CC the sum of the values of the data digits,
// both modulo 256; a record with LL 00 ends the file.
#include <cstdint>
#include <string_view>

#include "buffer/hex_text.h"
#include "buffer/record_output.h"
#include "state/buffer_limits.h"

namespace quenlet {

class Progress;

// The text's image from address 0, addresses without data holding `fill`.
// A damaged record, a bad header or data checksum, or a text without any
// record fails the whole text.
HexReadResult ReadTektronixHex(std::string_view text, uint8_t fill, Progress& progress,
                               uint64_t limit = kMaxBufferSize);

// Only the first record decides: the text starts with "/" and four hex
// digits, its header checksum is right, its count is not 00 and its data
// checksum is right.
bool DetectTektronixHex(std::string_view text);

// 16-byte records addressed from 0 over length rounded up to 32, then
// "/00000000"; CR LF line ends. TooBig past 64 KB, which 16-bit addresses
// cannot reach.
WriteOutcome WriteTektronixHex(ByteSink& sink, const SaveSource& source, uint64_t length,
                               Progress& progress);

}  // namespace quenlet
