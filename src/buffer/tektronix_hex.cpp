#include "buffer/tektronix_hex.h"

#include <cstring>

#include "platform/strprintf.h"
#include "platform/user_interfaces.h"

namespace quenlet {
namespace {

HexParseFailure Fail(size_t line, std::string reason,
                     HexParseFailure::Kind kind = HexParseFailure::Kind::Format) {
  return {kind, line, std::move(reason)};
}

// Digit values of text[pos .. pos + count - 1] into out; the reason when they
// are not all hex digits.
std::optional<std::string> Digits(std::string_view text, size_t pos, size_t count, int* out) {
  for (size_t k = 0; k < count; ++k) {
    if (pos + k >= text.size()) return std::string("the record is cut short");
    const unsigned char c = static_cast<unsigned char>(text[pos + k]);
    const int v = HexDigitValue(c);
    if (v < 0) {
      if (c == '\r' || c == '\n') return std::string("the record is cut short");
      if (c == 0) return std::string("a NUL byte stands inside a record");
      return (c >= 0x20 && c < 0x7F) ? strprintf("'%c' is not a hex digit", c)
                                     : strprintf("the byte 0x%02X is not a hex digit", c);
    }
    out[k] = v;
  }
  return std::nullopt;
}

}  // namespace

HexReadResult ReadTektronixHex(std::string_view text, uint8_t fill, Progress& progress,
                               uint64_t limit) {
  HexReadResult result{std::nullopt, StagingImage(fill, limit)};
  // Two digits a byte: the image of a text without gaps is at most half its size.
  result.image.Reserve(text.size() / 2);
  WalkProgress walk(progress, text.size());
  int d[8 + 2 * 255 + 2];
  uint8_t data[255];
  bool any_record = false;
  size_t line = 1;
  size_t i = 0;
  const size_t n = text.size();
  for (;;) {
    if (auto stray = SkipToRecordMark(text, '/', i, line)) {
      result.failure = std::move(stray);
      return result;
    }
    if (i >= n) break;
    any_record = true;
    walk.At(i);
    if (auto bad = Digits(text, i + 1, 8, d)) {
      result.failure = Fail(line, *bad);
      return result;
    }
    const unsigned header = static_cast<unsigned>(d[0] + d[1] + d[2] + d[3] + d[4] + d[5]);
    const unsigned hh = static_cast<unsigned>(d[6] << 4 | d[7]);
    if ((header & 0xFF) != hh) {
      result.failure =
          Fail(line,
               strprintf("the header checksum is %02X, the address and count need %02X", hh,
                         header & 0xFF),
               HexParseFailure::Kind::Checksum);
      return result;
    }
    const uint64_t address = static_cast<uint64_t>(d[0] << 12 | d[1] << 8 | d[2] << 4 | d[3]);
    const size_t count = static_cast<size_t>(d[4] << 4 | d[5]);
    if (count == 0) return result;  // the end record
    if (auto bad = Digits(text, i + 9, 2 * count + 2, d + 8)) {
      result.failure = Fail(line, *bad);
      return result;
    }
    const size_t end = i + 9 + 2 * count + 2;
    if (end < n && !IsRecordGap(static_cast<unsigned char>(text[end]))) {
      result.failure =
          Fail(line, HexDigitValue(static_cast<unsigned char>(text[end])) >= 0
                         ? strprintf("the record holds more digits than its count %02X says",
                                     static_cast<unsigned>(count))
                         : std::string("the record is followed by other characters on its line"));
      return result;
    }
    unsigned digit_sum = 0;
    for (size_t k = 0; k < count; ++k) {
      const int hi = d[8 + 2 * k];
      const int lo = d[9 + 2 * k];
      digit_sum += static_cast<unsigned>(hi + lo);
      data[k] = static_cast<uint8_t>(hi << 4 | lo);
    }
    const unsigned cc = static_cast<unsigned>(d[8 + 2 * count] << 4 | d[9 + 2 * count]);
    if ((digit_sum & 0xFF) != cc) {
      result.failure = Fail(
          line,
          strprintf("the data checksum is %02X, the data digits need %02X", cc, digit_sum & 0xFF),
          HexParseFailure::Kind::Checksum);
      return result;
    }
    if (!result.image.Store(address, data, count)) {
      result.failure = ClaimFailure(result.image, address, line);
      return result;
    }
    i = end;
  }
  if (!any_record) result.failure = Fail(1, "the text holds no Tektronix record");
  return result;
}

bool DetectTektronixHex(std::string_view text) {
  int d[8];
  if (text.empty() || text[0] != '/' || Digits(text, 1, 8, d)) return false;
  if (((d[0] + d[1] + d[2] + d[3] + d[4] + d[5]) & 0xFF) != (d[6] << 4 | d[7])) return false;
  const size_t count = static_cast<size_t>(d[4] << 4 | d[5]);
  if (count == 0) return false;
  unsigned digit_sum = 0;
  for (size_t k = 0; k < 2 * count + 2; ++k) {
    if (9 + k >= text.size()) return false;
    const int v = HexDigitValue(static_cast<unsigned char>(text[9 + k]));
    if (v < 0) return false;
    if (k < 2 * count) {
      digit_sum += static_cast<unsigned>(v);
    } else {
      d[k - 2 * count] = v;
    }
  }
  return (digit_sum & 0xFF) == static_cast<unsigned>(d[0] << 4 | d[1]);
}

WriteOutcome WriteTektronixHex(ByteSink& sink, const SaveSource& source, uint64_t length,
                               Progress& progress) {
  const uint64_t padded = PaddedLength(length);
  if (padded > 0x10000) return WriteOutcome::TooBig;
  RecordOutput out(sink);
  WalkProgress walk(progress, padded);
  uint8_t data[16];
  for (uint64_t address = 0; address < padded; address += 16) {
    walk.At(address);
    char* r = out.BeginRecord();
    if (!r) return WriteOutcome::FileError;
    const uint8_t* p = source.Direct(address, 16);
    if (!p) {
      source.Copy(address, 16, data);
      p = data;
    }
    r[0] = '/';
    PutHexByte(r + 1, static_cast<uint8_t>(address >> 8));
    PutHexByte(r + 3, static_cast<uint8_t>(address));
    r[5] = '1';
    r[6] = '0';
    const unsigned header = static_cast<unsigned>(((address >> 12) & 15) + ((address >> 8) & 15) +
                                                  ((address >> 4) & 15) + (address & 15) + 1);
    PutHexByte(r + 7, static_cast<uint8_t>(header));
    unsigned digit_sum = 0;
    for (int k = 0; k < 16; ++k) {
      digit_sum += (p[k] >> 4) + (p[k] & 15u);
      PutHexByte(r + 9 + 2 * k, p[k]);
    }
    PutHexByte(r + 41, static_cast<uint8_t>(digit_sum));
    r[43] = '\r';
    r[44] = '\n';
    out.EndRecord(45);
  }
  char* r = out.BeginRecord();
  if (!r) return WriteOutcome::FileError;
  std::memcpy(r, "/00000000\r\n", 11);
  out.EndRecord(11);
  return out.Finish() ? WriteOutcome::Written : WriteOutcome::FileError;
}

}  // namespace quenlet
