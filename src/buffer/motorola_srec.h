#pragma once
// Motorola S-record files: "S" t LL A... DD... CC, LL counting the address,
// data and checksum bytes, CC the ones' complement of the low byte of the sum
// of LL, the address and the data.
#include <cstdint>
#include <string_view>

#include "buffer/hex_text.h"
#include "buffer/record_output.h"
#include "state/buffer_limits.h"

namespace quenlet {

class Progress;

// The BufSize an S-record load sets (16 MB + 129 KB: every 24-bit address
// fits).
inline constexpr uint64_t kMotorolaBufSize = 0x1020400;

// The text's image from address 0, addresses without data holding `fill`.
// S1, S2 and S3 records carry data at 16-, 24- and 32-bit addresses, which
// count from the 16 MB window of the first data record: a file for a chip
// mapped high in a CPU's address space (0x08000000 ...) loads from 0, as the
// S3 address was always taken modulo 16 MB, and a file larger than 16 MB
// keeps its layout instead of folding onto itself. A record below that
// window, any damaged record or any bad checksum fails the whole text. Other
// records are checked and skipped.
HexReadResult ReadMotorolaS(std::string_view text, uint8_t fill, Progress& progress,
                            uint64_t limit = kMaxBufferSize);

// True when every S1, S2 and S3 record is right and at least one of them has
// a checksum other than 00; "%" before a record is allowed; any "S" not
// followed by a type digit 0-3, 5 or 7-9 means no.
bool DetectMotorolaHex(std::string_view text);

// The save dialog's variants: 0 S1, 2 S2, 3 S3.
enum class SRecordVariant : int { S1 = 0, S2 = 2, S3 = 3 };

// "S0030000FC", 16-byte data records of the variant addressed from 0 over
// length rounded up to 32, then "S9030000FC" (S1, S2) or "S70500000000FA"
// (S3); CR LF line ends. TooBig when the range needs more address bits than
// the variant has (S1 64 KB, S2 16 MB).
WriteOutcome WriteMotorolaS(ByteSink& sink, const SaveSource& source, SRecordVariant variant,
                            uint64_t length, Progress& progress);

}  // namespace quenlet
