#include "platform/text_compare.h"

#include <cstddef>

#include "platform/text_decode.h"

namespace quenlet {
namespace {

bool IsBig5LeadByte(char c) {
  auto u = static_cast<unsigned char>(c);
  return u >= 0x81 && u <= 0xFE;
}

// Whether byte `i` of `text`, read as Big5, is the second byte of a pair.
bool IsBig5TrailByte(std::string_view text, size_t i) {
  size_t j = 0;
  while (j < i) j += IsBig5LeadByte(text[j]) ? 2 : 1;
  return j > i;
}

}  // namespace

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameTextNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    // UTF-8 has no ASCII bytes inside characters, and case does not change
    // validity, so only a text that is not UTF-8 can hold such a pair.
    if (i > 0 && static_cast<unsigned char>(a[i - 1]) >= 0x81 && !IsValidUtf8(a) &&
        IsBig5TrailByte(a, i)) {
      return false;
    }
  }
  return true;
}

std::string NoCaseKey(std::string_view text) {
  std::string key(text);
  const bool utf8 = IsValidUtf8(text);
  for (size_t i = 0; i < key.size(); ++i) {
    if (!utf8 && IsBig5LeadByte(key[i])) {
      ++i;  // the second byte of a Big5 pair is no letter
      continue;
    }
    key[i] = LowerAscii(key[i]);
  }
  return key;
}

}  // namespace quenlet
