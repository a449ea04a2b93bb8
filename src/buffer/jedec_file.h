#pragma once
// JEDEC fuse files: the text form of a logic device's fuse map. A file opens
// with STX and a free design text up to the first '*'; after it, fields end
// at '*' and are named by their first character: L a fuse list (start number,
// then one '0' or '1' per fuse), F the state of unlisted fuses, QF the fuse
// count, and N (notes), V (vectors), G (security), C (checksum) and the rest,
// which a fuse map does not need. ETX ends the transmission.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quenlet {

class FuseMap;

// The file of `map` as this program writes it: STX, our header, QF, one L
// row per `columns` fuses, the map's fuse checksum mod 65536 as C, and ETX as
// the last byte. Throws std::bad_alloc when the text cannot be held.
std::string WriteJedecText(const FuseMap& map, uint64_t columns);

enum class JedecStatus {
  Read,
  NotJedec,      // no '*', not exactly one STX before it, or neither F nor L
  SizeMismatch,  // a list starts beyond the last fuse, or QF names another count
};

struct JedecRead {
  JedecStatus status = JedecStatus::NotJedec;
  // `fuse_count` fuses of 0 and 1 when read: the F state (else 0) where no
  // list sets them. Empty otherwise.
  std::vector<uint8_t> fuses;
};

// Reads the fuse map of a device of `fuse_count` fuses from `text`. A refused
// text yields no fuses at all, so a caller's map never holds half a file.
// Memory stays bounded by the fuses: the text is walked twice (its checks
// and default state, then its lists straight into the fuses) and nothing is
// kept per field. Throws std::bad_alloc when `fuse_count` fuses cannot be
// held.
JedecRead ReadJedecText(std::string_view text, uint64_t fuse_count);

}  // namespace quenlet
