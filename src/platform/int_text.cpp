#include "platform/int_text.h"

#include <optional>

#include "platform/hex_digit.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Digits from `pos` to the end of `text`, all of them, in `base`. Values that
// do not fit `limit` are refused.
std::optional<uint64_t> Digits(const std::string& text, size_t pos, int base, uint64_t limit) {
  if (pos >= text.size()) return std::nullopt;
  uint64_t value = 0;
  for (; pos < text.size(); ++pos) {
    int d = HexDigitValue(text[pos]);
    if (d < 0 || d >= base) return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (value > limit) return std::nullopt;
  }
  return value;
}

std::optional<int32_t> ParseStrict(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  std::optional<uint64_t> value;
  if (pos < text.size() && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) {
    value = Digits(text, pos + 1, 16, 0xFFFFFFFFull);
  } else if (pos + 1 < text.size() && text[pos] == '0' &&
             (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
    value = Digits(text, pos + 2, 16, 0xFFFFFFFFull);
  } else {
    value = Digits(text, pos, 10, negative ? 0x80000000ull : 0x7FFFFFFFull);
    if (value) {
      int64_t v = negative ? -static_cast<int64_t>(*value) : static_cast<int64_t>(*value);
      return static_cast<int32_t>(v);
    }
    return std::nullopt;
  }
  if (!value) return std::nullopt;
  // Hex text covers all 32 bits: $FFFFFFFF is -1.
  uint32_t bits = static_cast<uint32_t>(*value);
  if (negative) bits = 0u - bits;
  return static_cast<int32_t>(bits);
}

}  // namespace

ConversionError::ConversionError(const std::string& text)
    : std::runtime_error(strprintf("'%s' is not a valid integer value", text.c_str())),
      text_(text) {}

int32_t StrToInt(const std::string& text) {
  if (auto v = ParseStrict(text)) return *v;
  throw ConversionError(text);
}

int32_t LenientStrToInt(const std::string& text, int32_t default_value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (auto v = Digits(text, 2, 16, 0xFFFFFFFFull))
      return static_cast<int32_t>(static_cast<uint32_t>(*v));
    return default_value;
  }
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (auto v = Digits(text, pos, 10, negative ? 0x80000000ull : 0x7FFFFFFFull)) {
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(*v) : static_cast<int64_t>(*v));
  }
  return default_value;
}

}  // namespace quenlet
