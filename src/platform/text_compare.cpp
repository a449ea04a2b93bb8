#include "platform/text_compare.h"

#include <cstddef>

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

bool IsValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    size_t more = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      more = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3;
    } else if (c >= 0x80) {
      return false;
    }
    if (more > text.size() - i - 1) return false;
    for (size_t k = 1; k <= more; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += more + 1;
  }
  return true;
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

}  // namespace quenlet
