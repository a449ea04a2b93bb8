#pragma once
// What the three hex-record readers and writers share: digit values, digit
// output, the failure they report and the walk over the text's lines.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "buffer/staging_image.h"
#include "platform/hex_digit.h"
#include "platform/user_interfaces.h"

namespace quenlet {

inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// Two upper-case digits of a byte at out[0], out[1].
inline void PutHexByte(char* out, uint8_t value) {
  out[0] = kUpperHexDigits[value >> 4];
  out[1] = kUpperHexDigits[value & 15];
}

// Why a text was refused, and where. Memory: the image could not be had.
struct HexParseFailure {
  enum class Kind { Format, Checksum, Memory };
  Kind kind = Kind::Format;
  size_t line = 0;  // 1-based line of the text
  std::string reason;
};

// A reader's result: the image starting at address 0, or the failure.
struct HexReadResult {
  std::optional<HexParseFailure> failure;
  StagingImage image;
  bool ok() const { return !failure.has_value(); }
};

// Bytes that may stand between records: blanks, line ends and the DOS end-of-
// file mark that old tools appended.
inline bool IsRecordGap(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == 0x1A;
}

// What a reader passes over between records: the gaps, and printable text
// such as a tool's comment line, which the readers have always skipped.
// Control bytes (NUL among them) mean the file is not a text file at all.
inline bool IsSkippedOutsideRecords(unsigned char c) {
  return IsRecordGap(c) || (c >= 0x20 && c != 0x7F);
}

// Moves `i` over what stands between records up to the next `mark` (or the
// end of the text), counting line feeds in `line`. A byte that may not stand
// between records gives its failure, with `i` left on it.
std::optional<HexParseFailure> SkipToRecordMark(std::string_view text, char mark, size_t& i,
                                                size_t& line);

#if defined(__SSE2__)
// The readers' digit-pair decoder, sixteen digits at a time: both cases of
// A-F, any other byte refused; no branch per digit.
class HexPairLanes {
 public:
  // The bytes of the eight digit pairs in c, in the low half of the result.
  // Only the lanes of `looked_at` must hold digits, and only the bytes of
  // `counted` add to the sum.
  [[gnu::always_inline]] __m128i Decode(__m128i c, __m128i looked_at = _mm_set1_epi8(-1),
                                        __m128i counted = _mm_set1_epi8(-1)) {
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('0' - 1)),
                                        _mm_cmplt_epi8(c, _mm_set1_epi8('9' + 1)));
    const __m128i lower = _mm_or_si128(c, _mm_set1_epi8(0x20));
    const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)),
                                         _mm_cmplt_epi8(lower, _mm_set1_epi8('f' + 1)));
    good_ = _mm_and_si128(good_, _mm_or_si128(_mm_or_si128(digit, letter),
                                              _mm_andnot_si128(looked_at, _mm_set1_epi8(-1))));
    // Digit values: the low nibble, plus 9 for a letter; each 16-bit lane
    // holds a byte's high digit in its low half.
    const __m128i v = _mm_add_epi8(_mm_and_si128(c, _mm_set1_epi8(0x0F)),
                                   _mm_and_si128(letter, _mm_set1_epi8(9)));
    const __m128i hi = _mm_slli_epi16(_mm_and_si128(v, _mm_set1_epi16(0x00FF)), 4);
    const __m128i lo = _mm_srli_epi16(v, 8);
    const __m128i bytes = _mm_packus_epi16(_mm_or_si128(hi, lo), _mm_setzero_si128());
    sums_ = _mm_add_epi64(sums_, _mm_sad_epu8(_mm_and_si128(bytes, counted), _mm_setzero_si128()));
    return bytes;
  }
  // Whether every lane looked at held a digit.
  bool Sound() const { return _mm_movemask_epi8(good_) == 0xFFFF; }
  unsigned Sum() const { return static_cast<unsigned>(_mm_cvtsi128_si32(sums_)); }

 private:
  __m128i good_ = _mm_set1_epi8(-1);
  __m128i sums_ = _mm_setzero_si128();
};
#endif

// Decodes `count` digit pairs at text[pos...] into out and adds their values
// to *sum. False when the text ends first or a character is no hex digit;
// DescribeBadPairs then says what is wrong. The readers' inner loop.
[[gnu::always_inline]] inline bool DecodeHexPairs(std::string_view text, size_t pos, size_t count,
                                                  uint8_t* out, unsigned* sum) {
  if (pos > text.size() || 2 * count > text.size() - pos) return false;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data()) + pos;
  size_t k = 0;
  unsigned total = 0;
#if defined(__SSE2__)
  // Sixteen digits at a time (the data of the usual records is a multiple of
  // 8 bytes), then eight (a record's header).
  if (count >= 4) {
    HexPairLanes lanes;
    for (; k + 8 <= count; k += 8) {
      const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * k));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k), lanes.Decode(c));
    }
    if (count - k >= 4) {
      // Eight digits into the low half; the zero lanes above add nothing.
      const __m128i c = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 2 * k));
      const uint32_t four =
          static_cast<uint32_t>(_mm_cvtsi128_si32(lanes.Decode(c, _mm_set_epi32(0, 0, -1, -1))));
      std::memcpy(out + k, &four, 4);
      k += 4;
    }
    if (!lanes.Sound()) return false;
    total = lanes.Sum();
  }
#endif
  int bad = 0;
  for (; k < count; ++k) {
    const int hi = HexDigitValue(p[2 * k]);
    const int lo = HexDigitValue(p[2 * k + 1]);
    bad |= hi | lo;
    const uint8_t v = static_cast<uint8_t>(hi << 4 | lo);
    out[k] = v;
    total += v;
  }
  *sum += total;
  return bad >= 0;
}

// DecodeHexPairs for a text that goes on past the pairs: whole sixteen-digit
// chunks are read, up to 15 bytes past the last pair (the caller has checked
// that they exist), and whole 8-byte chunks written (out has room for count
// rounded up to 8). A record in one go, without a tail.
[[gnu::always_inline]] inline bool DecodeHexPairsPadded(const char* text, size_t count,
                                                        uint8_t* out, unsigned* sum) {
#if defined(__SSE2__)
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  HexPairLanes lanes;
  size_t k = 0;
  for (; k + 8 <= count; k += 8) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * k));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k), lanes.Decode(c));
  }
  if (k < count) {
    // The last pairs: the lanes past them are the text after the record.
    const char rest = static_cast<char>(count - k);
    const __m128i lane = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * k));
    _mm_storel_epi64(
        reinterpret_cast<__m128i*>(out + k),
        lanes.Decode(c, _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(2 * rest)), lane),
                     _mm_cmpgt_epi8(_mm_set1_epi8(rest), lane)));
  }
  if (!lanes.Sound()) return false;
  *sum += lanes.Sum();
  return true;
#else
  return DecodeHexPairs(std::string_view(text, 2 * count), 0, count, out, sum);
#endif
}

// Writes n bytes as 2n upper-case digits at out and returns the sum of the
// bytes.
inline unsigned EncodeHexBytes(const uint8_t* in, size_t n, char* out) {
  size_t k = 0;
  unsigned total = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  __m128i sums = zero;
  for (; k + 16 <= n; k += 16) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + k));
    const __m128i hi = _mm_and_si128(_mm_srli_epi16(b, 4), _mm_set1_epi8(0x0F));
    const __m128i lo = _mm_and_si128(b, _mm_set1_epi8(0x0F));
    auto ascii = [](__m128i nibble) {
      const __m128i letter = _mm_cmpgt_epi8(nibble, _mm_set1_epi8(9));
      return _mm_add_epi8(_mm_add_epi8(nibble, _mm_set1_epi8('0')),
                          _mm_and_si128(letter, _mm_set1_epi8('A' - '0' - 10)));
    };
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * k), ascii(_mm_unpacklo_epi8(hi, lo)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * k + 16),
                     ascii(_mm_unpackhi_epi8(hi, lo)));
    sums = _mm_add_epi64(sums, _mm_sad_epu8(b, zero));
  }
  total = static_cast<unsigned>(_mm_cvtsi128_si32(sums)) +
          static_cast<unsigned>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
#endif
  for (; k < n; ++k) {
    PutHexByte(out + 2 * k, in[k]);
    total += in[k];
  }
  return total;
}

// Why DecodeHexPairs refused those pairs; the caller adds the line.
std::string DescribeBadPairs(std::string_view text, size_t pos, size_t count);

// Value of the digit pair at text[pos], or -1.
inline int HexPairAt(std::string_view text, size_t pos) {
  if (pos > text.size() || text.size() - pos < 2) return -1;
  const int hi = HexDigitValue(static_cast<unsigned char>(text[pos]));
  const int lo = HexDigitValue(static_cast<unsigned char>(text[pos + 1]));
  return hi < 0 || lo < 0 ? -1 : hi << 4 | lo;
}

// Record addresses are at most 32 bits wide: data that runs past the last
// one comes from a damaged record. The failure for data record bytes
// address .. address + count - 1, when they run past it.
std::optional<HexParseFailure> PastLastAddress(uint64_t address, size_t count, size_t line);

// The failure of a Claim of the image at address: out of memory, or past the
// limit.
HexParseFailure ClaimFailure(const StagingImage& image, uint64_t address, size_t line);

// Drives the progress window over a walk of `length` units: shown at 0,
// stepped about 100 times, completed and closed when it goes out of scope.
class WalkProgress {
 public:
  WalkProgress(Progress& progress, uint64_t length)
      : progress_(progress), step_(length / 100 > 0 ? length / 100 : 1), next_(step_) {
    progress_.Show();
    progress_.SetPosition(0);
  }
  ~WalkProgress() {
    progress_.Complete();
    progress_.Close();
  }
  WalkProgress(const WalkProgress&) = delete;
  WalkProgress& operator=(const WalkProgress&) = delete;

  void At(uint64_t position) {
    while (position >= next_) {
      progress_.StepIt();
      next_ += step_;
    }
  }

 private:
  Progress& progress_;
  uint64_t step_;
  uint64_t next_;
};

// "0x%llX" of a value.
std::string HexNumber(uint64_t value);

}  // namespace quenlet
