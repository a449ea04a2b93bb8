#include "buffer/intel_hex.h"

#include <cstring>

#include "platform/strprintf.h"
#include "platform/user_interfaces.h"

namespace quenlet {
namespace {

constexpr uint64_t kSegmentReach = 0x100000;  // what 16 segment records address

HexParseFailure Fail(size_t line, std::string reason,
                     HexParseFailure::Kind kind = HexParseFailure::Kind::Format) {
  return {kind, line, std::move(reason)};
}

// How far the data records from text[from] on reach (the image size they
// need), from a quick walk over the record headers with the reader's address
// rules and its bases at that record. The walk stops where a header is
// damaged; the reader then reports that record.
uint64_t DataExtent(std::string_view text, size_t from, uint64_t segment_base,
                    uint64_t linear_base) {
  uint64_t extent = 0;
  for (size_t i = text.find(':', from); i != std::string_view::npos; i = text.find(':', i)) {
    const int count = HexPairAt(text, i + 1);
    const int high = HexPairAt(text, i + 3);
    const int low = HexPairAt(text, i + 5);
    const int type = HexPairAt(text, i + 7);
    if (count < 0 || high < 0 || low < 0 || type < 0) break;
    if (type == 0x00 && count > 0) {
      const uint64_t end = linear_base + segment_base + static_cast<uint64_t>(high << 8 | low) +
                           static_cast<uint64_t>(count);
      if (end > extent) extent = end;
    } else if (type == 0x01) {
      break;
    } else if ((type == 0x02 || type == 0x04) && count == 2) {
      const int v_high = HexPairAt(text, i + 9);
      const int v_low = HexPairAt(text, i + 11);
      if (v_high < 0 || v_low < 0) break;
      const uint64_t value = static_cast<uint64_t>(v_high << 8 | v_low);
      if (type == 0x02) {
        segment_base = value << 4;
      } else {
        linear_base = value << 16;
      }
    }
    i += 11 + 2 * static_cast<size_t>(count);
  }
  return extent;
}

}  // namespace

HexReadResult ReadIntelHex(std::string_view text, uint8_t fill, Progress& progress,
                           uint64_t limit) {
  HexReadResult result{std::nullopt, StagingImage(fill, limit)};
  // Two digits a byte: records that follow each other from a low address
  // need at most half the text.
  result.image.Reserve(text.size() / 2);
  bool sized = false;
  WalkProgress walk(progress, text.size());
  uint8_t rec[5 + 255];
  uint64_t segment_base = 0;
  uint64_t linear_base = 0;
  bool any_record = false;
  size_t line = 1;
  size_t i = 0;
  const size_t n = text.size();
  for (;;) {
    if (auto stray = SkipToRecordMark(text, ':', i, line)) {
      result.failure = std::move(stray);
      return result;
    }
    if (i >= n) break;
    any_record = true;
    walk.At(i);
    unsigned sum = 0;
    if (!DecodeHexPairs(text, i + 1, 4, rec, &sum)) {
      result.failure = Fail(line, DescribeBadPairs(text, i + 1, 4));
      return result;
    }
    const size_t count = rec[0];
    const uint8_t type = rec[3];
    const uint64_t offset = static_cast<uint64_t>(rec[1]) << 8 | rec[2];
    // Data bytes go straight into the image; other records' into rec.
    uint8_t* data = rec + 4;
    const uint64_t address = linear_base + segment_base + offset;
    if (type == 0x00 && count > 0) {
      if (auto past = PastLastAddress(address, count, line)) {
        result.failure = std::move(past);
        return result;
      }
      // Data that lies higher, or apart: the image is sized once for all the
      // records to come, rather than grow step by step to twice that.
      if (!sized && address + count > result.image.Capacity()) {
        sized = true;
        result.image.Reserve(ImageRoomFor(DataExtent(text, i, segment_base, linear_base)));
      }
      if (!(data = result.image.Claim(address, count))) {
        result.failure = ClaimFailure(result.image, address, line);
        return result;
      }
    }
    if (!DecodeHexPairs(text, i + 9, count, data, &sum) ||
        !DecodeHexPairs(text, i + 9 + 2 * count, 1, rec + 4 + count, &sum)) {
      result.failure = Fail(line, DescribeBadPairs(text, i + 9, count + 1));
      return result;
    }
    const size_t end = i + 1 + 2 * (5 + count);
    if (end < n && !IsRecordGap(static_cast<unsigned char>(text[end]))) {
      result.failure =
          Fail(line, HexDigitValue(static_cast<unsigned char>(text[end])) >= 0
                         ? strprintf("the record holds more digits than its count %02X says",
                                     static_cast<unsigned>(count))
                         : std::string("the record is followed by other characters on its line"));
      return result;
    }
    // sum holds the checksum byte too: a right record adds up to 0.
    const uint8_t expected = static_cast<uint8_t>(rec[4 + count] - sum);
    if ((sum & 0xFF) != 0) {
      result.failure = Fail(
          line,
          strprintf("the checksum is %02X, the record's bytes need %02X", rec[4 + count], expected),
          HexParseFailure::Kind::Checksum);
      return result;
    }
    switch (type) {
      case 0x00:
        break;  // already in the image
      case 0x01:
        return result;
      case 0x02:
      case 0x04: {
        if (count != 2) {
          result.failure = Fail(line, strprintf("an extended address record holds 2 bytes, not %u",
                                                static_cast<unsigned>(count)));
          return result;
        }
        const uint64_t value = static_cast<uint64_t>(rec[4]) << 8 | rec[5];
        if (type == 0x02) {
          segment_base = value << 4;
        } else {
          linear_base = value << 16;
        }
        break;
      }
      case 0x03:
      case 0x05:
        break;  // start addresses mean nothing to a programmer
      default:
        result.failure = Fail(line, strprintf("the record type %02X is unknown", type));
        return result;
    }
    i = end;
  }
  if (!any_record) result.failure = Fail(1, "the text holds no Intel HEX record");
  return result;
}

bool DetectIntelHex(std::string_view text) {
  size_t others = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != ':') {
      if (++others >= 128) return false;
      continue;
    }
    const int count = HexPairAt(text, i + 1);
    if (count <= 0 || HexPairAt(text, i + 7) != 0) continue;
    unsigned sum = 0;
    bool digits = true;
    for (int k = 0; k < 4 + count && digits; ++k) {
      const int v = HexPairAt(text, i + 1 + 2 * static_cast<size_t>(k));
      digits = v >= 0;
      sum += static_cast<unsigned>(v);
    }
    const int cc = HexPairAt(text, i + 9 + 2 * static_cast<size_t>(count));
    if (digits && cc >= 0 && static_cast<uint8_t>(0x100 - (sum & 0xFF)) == cc) return true;
  }
  return false;
}

namespace {

// ":02000002k000cc" or ":02000004kkkkcc" before 64 KB block k.
size_t PutExtendedRecord(char* out, uint64_t block, bool linear) {
  uint8_t bytes[6] = {2, 0, 0, 0, 0, 0};
  if (linear) {
    bytes[3] = 4;
    bytes[4] = static_cast<uint8_t>(block >> 8);
    bytes[5] = static_cast<uint8_t>(block);
  } else {
    bytes[3] = 2;
    bytes[4] = static_cast<uint8_t>(block << 4);
  }
  unsigned sum = 0;
  out[0] = ':';
  for (int k = 0; k < 6; ++k) {
    sum += bytes[k];
    PutHexByte(out + 1 + 2 * k, bytes[k]);
  }
  PutHexByte(out + 13, static_cast<uint8_t>(0x100 - (sum & 0xFF)));
  out[15] = '\r';
  out[16] = '\n';
  return 17;
}

}  // namespace

WriteOutcome WriteIntelHex(ByteSink& sink, const SaveSource& source, uint64_t length,
                           Progress& progress) {
  const uint64_t padded = PaddedLength(length);
  if (padded > kMaxBufferSize) return WriteOutcome::TooBig;
  const bool linear = padded > kSegmentReach;
  RecordOutput out(sink);
  WalkProgress walk(progress, padded);
  uint8_t data[32];
  for (uint64_t address = 0; address < padded; address += 32) {
    walk.At(address);
    if (address != 0 && address % 0x10000 == 0) {
      char* r = out.BeginRecord();
      if (!r) return WriteOutcome::FileError;
      out.EndRecord(PutExtendedRecord(r, address >> 16, linear));
    }
    char* r = out.BeginRecord();
    if (!r) return WriteOutcome::FileError;
    const uint8_t* p = source.Direct(address, 32);
    if (!p) {
      source.Copy(address, 32, data);
      p = data;
    }
    const uint8_t hi = static_cast<uint8_t>(address >> 8);
    const uint8_t lo = static_cast<uint8_t>(address);
    unsigned sum = 0x20u + hi + lo;
    std::memcpy(r, ":20", 3);
    PutHexByte(r + 3, hi);
    PutHexByte(r + 5, lo);
    r[7] = '0';
    r[8] = '0';
    sum += EncodeHexBytes(p, 32, r + 9);
    PutHexByte(r + 73, static_cast<uint8_t>(0x100 - (sum & 0xFF)));
    r[75] = '\r';
    r[76] = '\n';
    out.EndRecord(77);
  }
  char* r = out.BeginRecord();
  if (!r) return WriteOutcome::FileError;
  std::memcpy(r, ":00000001FF\r\n", 13);
  out.EndRecord(13);
  return out.Finish() ? WriteOutcome::Written : WriteOutcome::FileError;
}

}  // namespace quenlet
