#pragma once
// Intel HEX files: ":" LL AAAA TT DD... CC records, CC the two's complement
// of the low byte of the sum of the record's bytes.
#include <cstdint>
#include <string_view>

#include "buffer/hex_text.h"
#include "buffer/record_output.h"
#include "state/buffer_limits.h"

namespace quenlet {

class Progress;

// The text's image from address 0, addresses without data holding `fill`.
// Data records (00) land at offset + extended segment base (02) + extended
// linear base (04); the end record (01) ends the walk; start address records
// (03, 05) are skipped. The whole text must be sound: a damaged or unknown
// record, a bad checksum, data past `limit` or a text without any record is
// a failure, and then nothing of the text is to be used.
HexReadResult ReadIntelHex(std::string_view text, uint8_t fill, Progress& progress,
                           uint64_t limit = kMaxBufferSize);

// True when a data record with a non-zero count and a right checksum comes
// before 128 characters other than ':' have passed.
bool DetectIntelHex(std::string_view text);

// Bytes 0 .. length - 1 of `source` (length rounded up to 32) as 32-byte data
// records addressed from 0, an extended address record before every further
// 64 KB and the end record, each line ending in CR LF. Up to 1 MB the
// extended records are segment records (02, ":02000002k000"); a longer range
// cannot be reached with them and uses extended linear records (04) instead.
WriteOutcome WriteIntelHex(ByteSink& sink, const SaveSource& source, uint64_t length,
                           Progress& progress);

}  // namespace quenlet
