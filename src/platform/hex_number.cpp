#include "platform/hex_number.h"

#include "platform/hex_digit.h"

namespace quenlet {
namespace {

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// The number from `at` on: blanks, a sign, the "0x" prefix where it is
// allowed, the digits; then the caller's rule for what lies outside
// 0 .. largest.
std::optional<uint64_t> Read(std::string_view text, int base, bool hex_prefix, uint64_t largest,
                             HexOverflow overflow) {
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  if (hex_prefix && at + 2 < text.size() && text[at] == '0' &&
      (text[at + 1] == 'x' || text[at + 1] == 'X') && HexDigitValue(text[at + 2]) >= 0) {
    at += 2;
  }
  const auto b = static_cast<uint64_t>(base);
  uint64_t value = 0;
  bool above = false;
  for (; at < text.size(); ++at) {
    const int digit = HexDigitValue(text[at]);
    if (digit < 0 || digit >= base) break;
    const auto d = static_cast<uint64_t>(digit);
    // value * base + d > largest, without overflowing 64 bits.
    if (d > largest || value > (largest - d) / b) {
      above = true;
      break;
    }
    value = value * b + d;
  }
  const bool below = negative && (above || value != 0);
  if (!above && !below) return value;
  if (overflow == HexOverflow::kRefuse) return std::nullopt;
  return below ? 0 : largest;
}

}  // namespace

std::optional<uint64_t> ReadHexNumber(std::string_view text, uint64_t largest,
                                      HexOverflow overflow) {
  return Read(text, 16, true, largest, overflow);
}

std::optional<uint64_t> ReadNumberInBase(std::string_view text, int base, uint64_t largest,
                                         HexOverflow overflow) {
  return Read(text, base, false, largest, overflow);
}

}  // namespace quenlet
