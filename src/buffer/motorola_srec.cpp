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

// Where the text's last data record ends, counted from the window base, by
// its header alone; 0 when the text's last lines hold no data record or it
// lies below the window.
uint64_t LastRecordEnd(std::string_view text, uint64_t window_base) {
  constexpr size_t kLastLines = 4096;
  const size_t from = text.size() > kLastLines ? text.size() - kLastLines : 0;
  for (size_t i = text.size(); i-- > from;) {
    if (text[i] != 'S' || (i > 0 && text[i - 1] != '\n' && text[i - 1] != '\r')) continue;
    const unsigned char t = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (t < '1' || t > '3') continue;
    const int address_bytes = kAddressBytes[t - '0'];
    const int count = HexPairAt(text, i + 2);
    if (count < address_bytes + 1) continue;
    uint64_t address = 0;
    bool digits = true;
    for (int k = 0; k < address_bytes && digits; ++k) {
      const int v = HexPairAt(text, i + 4 + 2 * static_cast<size_t>(k));
      digits = v >= 0;
      address = address << 8 | static_cast<uint64_t>(v);
    }
    if (!digits) continue;
    return address < window_base
               ? 0
               : address - window_base + static_cast<uint64_t>(count - address_bytes - 1);
  }
  return 0;
}

// Reads the usual records from text[i] on straight into the image, while
// they come one per line: S1, S2 or S3 records with a count that holds
// their address, sound digits, a right checksum, a gap after them, and data
// inside the window and the image's room, with text enough after them for
// the decoder's whole chunks. Returns where the first record it does not take starts (i itself
// when that is the first), which the careful walk then reads and, where it
// is damaged, reports; `line` counts the lines passed.
size_t ReadSoundRecords(std::string_view text, size_t i, size_t& line, uint64_t window_base,
                        StagingImage& image, WalkProgress& walk) {
  const char* t = text.data();
  const size_t n = text.size();
  const uint64_t room = image.Capacity();
  StagingImage::Run run(image);
  uint8_t rec[256];
  while (i + 4 <= n) {
    walk.At(i);
    // The text is asked for well ahead of the walk: waiting for it took half
    // of the reader's time. (A prefetch past the text's end is harmless.)
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(t) + i + 1024));
    const unsigned char type = static_cast<unsigned char>(t[i + 1]);
    if (type < '1' || type > '3') break;
    const size_t address_bytes = static_cast<size_t>(type - '0') + 1;
    const int high = HexDigitValue(static_cast<unsigned char>(t[i + 2]));
    const int low = HexDigitValue(static_cast<unsigned char>(t[i + 3]));
    if ((high | low) < 0) break;
    const size_t count = static_cast<size_t>(high << 4 | low);
    // Whole chunks of 16 digits are read from the count on, and the line
    // end and the next record's mark after the record.
    const size_t reads = std::max<size_t>(16 * ((count + 8) / 8), 2 * count + 5);
    if (count < address_bytes + 1 || i + 2 + reads > n) break;
    const size_t end = i + 4 + 2 * count;
    if (!IsRecordGap(static_cast<unsigned char>(t[end]))) break;
    // The count, address, data and checksum; with the checksum the bytes
    // add up to FF.
    unsigned sum = 0;
    if (!DecodeHexPairsPadded(t + i + 2, count + 1, rec, &sum) || (sum & 0xFF) != 0xFF) break;
    uint64_t address = uint64_t{rec[1]} << 8 | rec[2];
    if (address_bytes > 2) address = address << 8 | rec[3];
    if (address_bytes > 3) address = address << 8 | rec[4];
    const size_t data_length = count - address_bytes - 1;
    if (address < window_base || address - window_base + data_length > room ||
        address + data_length > uint64_t{0xFFFFFFFF} + 1) {
      break;
    }
    if (data_length > 0) {
      uint8_t* to = run.Claim(address - window_base, data_length);
      const uint8_t* data = rec + 1 + address_bytes;
      if (data_length == 16) {
        std::memcpy(to, data, 16);  // the usual length, without a call
      } else {
        std::memcpy(to, data, data_length);
      }
    }
    // The next record on the next line (CR LF or LF), or the careful walk
    // from here.
    const size_t next = end + (t[end] == '\r' && t[end + 1] == '\n' ? 2 : t[end] == '\n' ? 1 : 0);
    if (next == end || t[next] != 'S') return end;
    i = next;
    ++line;
  }
  return i;
}

}  // namespace

HexReadResult ReadMotorolaS(std::string_view text, uint8_t fill, Progress& progress,
                            uint64_t limit) {
  HexReadResult result{std::nullopt, StagingImage(fill, limit)};
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
    // The usual line end before the next record, without the walk's call.
    if (i + 2 < n && text[i] == '\r' && text[i + 1] == '\n' && text[i + 2] == 'S') {
      i += 2;
      ++line;
    } else if (auto stray = SkipToRecordMark(text, 'S', i, line)) {
      result.failure = std::move(stray);
      return result;
    }
    if (i >= n) break;
    any_record = true;
    walk.At(i);
    // Sound data records inside the window and the image's room go in at
    // once; every other record (the first data record among them, which
    // sets the window and sizes the image) takes the careful way below.
    if (have_window) {
      const size_t next = ReadSoundRecords(text, i, line, window_base, result.image, walk);
      if (next != i) {
        i = next;
        continue;
      }
    }
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
        // Files in address order end with their highest record: the image
        // is sized once, to what the records reach, and no larger.
        if (const uint64_t last = LastRecordEnd(text, window_base)) {
          result.image.Reserve(
              std::max(ImageRoomFor(std::max(last, address - window_base + data_length)),
                       BlockForBufSize(kMotorolaBufSize)));
        }
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
