#include "buffer/motorola_srec.h"

#include <algorithm>
#include <cstring>

#include "platform/strprintf.h"
#include "platform/user_interfaces.h"

namespace quenlet {
namespace {

// Address bytes of each record type; 0 marks a type that does not exist.
constexpr int kAddressBytes[10] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};

HexParseFailure Fail(size_t line, std::string reason,
                     HexParseFailure::Kind kind = HexParseFailure::Kind::Format) {
  return {kind, line, std::move(reason)};
}

// How far the data records from text[from] on reach from the window base
// (the image size they need), from a quick walk over the record headers.
// The walk stops where a header is damaged; the reader then reports it.
uint64_t DataExtent(std::string_view text, size_t from, uint64_t window_base) {
  uint64_t extent = 0;
  for (size_t i = text.find('S', from); i != std::string_view::npos; i = text.find('S', i)) {
    const unsigned char t = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (t < '0' || t > '9' || kAddressBytes[t - '0'] == 0) break;
    const int address_bytes = kAddressBytes[t - '0'];
    const int count = HexPairAt(text, i + 2);
    if (count < address_bytes + 1) break;
    if (t >= '1' && t <= '3') {
      uint64_t address = 0;
      for (int k = 0; k < address_bytes; ++k) {
        const int v = HexPairAt(text, i + 4 + 2 * static_cast<size_t>(k));
        if (v < 0) return extent;
        address = address << 8 | static_cast<uint64_t>(v);
      }
      if (address < window_base) break;
      const uint64_t end = address - window_base + static_cast<uint64_t>(count - address_bytes - 1);
      if (end > extent) extent = end;
    }
    i += 4 + 2 * static_cast<size_t>(count);
  }
  return extent;
}

}  // namespace

HexReadResult ReadMotorolaS(std::string_view text, uint8_t fill, Progress& progress,
                            uint64_t limit) {
  HexReadResult result{std::nullopt, StagingImage(fill, limit)};
  // Two digits a byte: records that follow each other from a low address
  // need at most half the text.
  result.image.Reserve(text.size() / 2);
  bool sized = false;
  progress.SetCaption("File processing ......");
  WalkProgress walk(progress, text.size());
  uint8_t rec[256];
  bool any_record = false;
  bool have_window = false;
  uint64_t window_base = 0;
  size_t line = 1;
  size_t i = 0;
  const size_t n = text.size();
  for (;;) {
    if (auto stray = SkipToRecordMark(text, 'S', i, line)) {
      result.failure = std::move(stray);
      return result;
    }
    if (i >= n) break;
    any_record = true;
    walk.At(i);
    if (i + 1 >= n || text[i + 1] == '\r' || text[i + 1] == '\n') {
      result.failure = Fail(line, "the record is cut short");
      return result;
    }
    const unsigned char t = static_cast<unsigned char>(text[i + 1]);
    if (t < '0' || t > '9' || kAddressBytes[t - '0'] == 0) {
      result.failure =
          Fail(line, (t >= 0x20 && t < 0x7F) ? strprintf("the record type S%c is unknown", t)
                                             : std::string("the record type is unknown"));
      return result;
    }
    const int type = t - '0';
    const int address_bytes = kAddressBytes[type];
    uint8_t count = 0;
    unsigned count_sum = 0;
    if (!DecodeHexPairs(text, i + 2, 1, &count, &count_sum)) {
      result.failure = Fail(line, DescribeBadPairs(text, i + 2, 1));
      return result;
    }
    if (count < address_bytes + 1) {
      result.failure = Fail(line, strprintf("the count %02X is too small for an S%d record",
                                            static_cast<unsigned>(count), type));
      return result;
    }
    const bool data_record = type >= 1 && type <= 3;
    const size_t data_length = static_cast<size_t>(count - address_bytes - 1);
    unsigned sum = count;
    uint8_t* data = rec + address_bytes;
    if (!DecodeHexPairs(text, i + 4, static_cast<size_t>(address_bytes), rec, &sum)) {
      result.failure = Fail(line, DescribeBadPairs(text, i + 4, count));
      return result;
    }
    if (data_record) {
      uint64_t address = 0;
      for (int k = 0; k < address_bytes; ++k) address = address << 8 | rec[k];
      if (auto past = PastLastAddress(address, data_length, line)) {
        result.failure = std::move(past);
        return result;
      }
      // Addresses count from the 16 MB window of the first data record, so a
      // file for a chip mapped high in a CPU's address space loads from 0
      // while a file larger than 16 MB keeps its layout.
      if (!have_window) {
        have_window = true;
        window_base = address & ~uint64_t{0xFFFFFF};
      }
      if (address < window_base) {
        result.failure = Fail(line, strprintf("the address %08llX lies below the 16 MB window of "
                                              "the first data record (%08llX)",
                                              static_cast<unsigned long long>(address),
                                              static_cast<unsigned long long>(window_base)));
        return result;
      }
      address -= window_base;
      // Data that lies higher in its window, or apart: the image is sized
      // once for all the records to come, rather than grow step by step to
      // twice that; at least to the block of the buffer an S-record load
      // sets, which can then take the image over.
      if (!sized && address + data_length > result.image.Capacity()) {
        sized = true;
        result.image.Reserve(std::max(ImageRoomFor(DataExtent(text, i, window_base)),
                                      BlockForBufSize(kMotorolaBufSize)));
      }
      // Data bytes go straight into the image.
      if (data_length > 0 && !(data = result.image.Claim(address, data_length))) {
        result.failure = ClaimFailure(result.image, address, line);
        return result;
      }
    }
    const size_t data_pos = i + 4 + 2 * static_cast<size_t>(address_bytes);
    unsigned checksum_sum = 0;
    if (!DecodeHexPairs(text, data_pos, data_length, data, &sum) ||
        !DecodeHexPairs(text, data_pos + 2 * data_length, 1, rec + count - 1, &checksum_sum)) {
      result.failure = Fail(line, DescribeBadPairs(text, i + 4, count));
      return result;
    }
    const size_t end = i + 4 + 2 * static_cast<size_t>(count);
    if (end < n && !IsRecordGap(static_cast<unsigned char>(text[end]))) {
      result.failure =
          Fail(line, HexDigitValue(static_cast<unsigned char>(text[end])) >= 0
                         ? strprintf("the record holds more digits than its count %02X says",
                                     static_cast<unsigned>(count))
                         : std::string("the record is followed by other characters on its line"));
      return result;
    }
    const uint8_t expected = static_cast<uint8_t>(~sum);
    if (expected != rec[count - 1]) {
      result.failure = Fail(
          line,
          strprintf("the checksum is %02X, the record's bytes need %02X", rec[count - 1], expected),
          HexParseFailure::Kind::Checksum);
      return result;
    }
    i = end;
  }
  if (!any_record) result.failure = Fail(1, "the text holds no S-record");
  return result;
}

bool DetectMotorolaHex(std::string_view text) {
  bool seen = false;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    char c = text[i];
    if (c != '%' && c != 'S') {
      ++i;
      continue;
    }
    if (c == '%') ++i;
    if (i + 1 >= n || text[i] != 'S') return false;
    const char t = text[i + 1];
    if (!(t == '0' || t == '1' || t == '2' || t == '3' || t == '5' || t == '7' || t == '8' ||
          t == '9')) {
      return false;
    }
    const int count = HexPairAt(text, i + 2);
    if (count < 0) return false;
    if (count >= 1 && t >= '1' && t <= '3') {
      unsigned sum = static_cast<unsigned>(count);
      for (int k = 0; k + 1 < count; ++k) {
        const int v = HexPairAt(text, i + 4 + 2 * static_cast<size_t>(k));
        if (v < 0) return false;
        sum += static_cast<unsigned>(v);
      }
      const int cc = HexPairAt(text, i + 4 + 2 * static_cast<size_t>(count - 1));
      if (cc < 0) return false;
      if (cc != 0) seen = true;
      if (static_cast<uint8_t>(~sum) != cc) return false;
    }
    i += 2;
  }
  return seen;
}

WriteOutcome WriteMotorolaS(ByteSink& sink, const SaveSource& source, SRecordVariant variant,
                            uint64_t length, Progress& progress) {
  const uint64_t padded = PaddedLength(length);
  const int address_bytes = variant == SRecordVariant::S1   ? 2
                            : variant == SRecordVariant::S2 ? 3
                                                            : 4;
  const uint64_t reach = uint64_t{1} << (8 * address_bytes);
  if (padded > reach || padded > kMaxBufferSize) return WriteOutcome::TooBig;
  const uint8_t count = static_cast<uint8_t>(address_bytes + 17);
  const char type = static_cast<char>('0' + address_bytes - 1);

  RecordOutput out(sink);
  WalkProgress walk(progress, padded);
  char* r = out.BeginRecord();
  if (!r) return WriteOutcome::FileError;
  std::memcpy(r, "S0030000FC\r\n", 12);
  out.EndRecord(12);
  uint8_t data[16];
  for (uint64_t address = 0; address < padded; address += 16) {
    walk.At(address);
    r = out.BeginRecord();
    if (!r) return WriteOutcome::FileError;
    const uint8_t* p = source.Direct(address, 16);
    if (!p) {
      source.Copy(address, 16, data);
      p = data;
    }
    r[0] = 'S';
    r[1] = type;
    PutHexByte(r + 2, count);
    unsigned sum = count;
    char* q = r + 4;
    for (int k = address_bytes - 1; k >= 0; --k) {
      const uint8_t b = static_cast<uint8_t>(address >> (8 * k));
      sum += b;
      PutHexByte(q, b);
      q += 2;
    }
    sum += EncodeHexBytes(p, 16, q);
    q += 32;
    PutHexByte(q, static_cast<uint8_t>(~sum));
    q[2] = '\r';
    q[3] = '\n';
    out.EndRecord(static_cast<size_t>(q + 4 - r));
  }
  r = out.BeginRecord();
  if (!r) return WriteOutcome::FileError;
  if (variant == SRecordVariant::S3) {
    std::memcpy(r, "S70500000000FA\r\n", 16);
    out.EndRecord(16);
  } else {
    std::memcpy(r, "S9030000FC\r\n", 12);
    out.EndRecord(12);
  }
  return out.Finish() ? WriteOutcome::Written : WriteOutcome::FileError;
}

}  // namespace quenlet
