#include "buffer/hex_text.h"

#include "platform/strprintf.h"

namespace quenlet {

namespace {

HexParseFailure StrayCharacterFailure(unsigned char c, size_t line) {
  // Only control bytes are refused there; printable text is passed over.
  std::string what = c == 0 ? std::string("a NUL byte") : strprintf("the byte 0x%02X", c);
  return {HexParseFailure::Kind::Format, line, what + " stands outside any record"};
}

}  // namespace

std::optional<HexParseFailure> SkipToRecordMark(std::string_view text, char mark, size_t& i,
                                                size_t& line) {
  for (; i < text.size() && text[i] != mark; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\n') {
      ++line;
    } else if (!IsSkippedOutsideRecords(c)) {
      return StrayCharacterFailure(c, line);
    }
  }
  return std::nullopt;
}

std::string DescribeBadPairs(std::string_view text, size_t pos, size_t count) {
  for (size_t k = pos; k < pos + 2 * count; ++k) {
    if (k >= text.size()) return "the record is cut short";
    const unsigned char c = static_cast<unsigned char>(text[k]);
    if (HexDigitValue(c) >= 0) continue;
    if (c == '\r' || c == '\n') return "the record is cut short";
    if (c == 0) return "a NUL byte stands inside a record";
    return (c >= 0x20 && c < 0x7F) ? strprintf("'%c' is not a hex digit", c)
                                   : strprintf("the byte 0x%02X is not a hex digit", c);
  }
  return "the record is damaged";
}

std::optional<HexParseFailure> PastLastAddress(uint64_t address, size_t count, size_t line) {
  constexpr uint64_t kLastAddress = 0xFFFFFFFF;
  if (count == 0 || (address <= kLastAddress && count - 1 <= kLastAddress - address)) {
    return std::nullopt;
  }
  return HexParseFailure{HexParseFailure::Kind::Format, line,
                         strprintf("the data at %08llX runs past the last address FFFFFFFF",
                                   static_cast<unsigned long long>(address))};
}

HexParseFailure ClaimFailure(const StagingImage& image, uint64_t address, size_t line) {
  if (image.OutOfMemory()) {
    return {HexParseFailure::Kind::Memory, line, "there is no memory for the image"};
  }
  return {HexParseFailure::Kind::Format, line,
          strprintf("data at %s lies beyond the largest buffer (%s bytes)",
                    HexNumber(address).c_str(), HexNumber(image.limit()).c_str())};
}

std::string HexNumber(uint64_t value) {
  return strprintf("0x%llX", static_cast<unsigned long long>(value));
}

}  // namespace quenlet
