#include "platform/text_decode.h"

#include <iconv.h>

#include <cerrno>

namespace quenlet {
namespace {

// Strict Big5 to UTF-8; false when any byte sequence is not Big5.
bool Big5ToUtf8(std::string_view bytes, std::string& out) {
  iconv_t cd = ::iconv_open("UTF-8", "BIG5");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  // A Big5 character of two bytes becomes at most three UTF-8 bytes, an
  // ASCII byte one: twice the input is always enough.
  out.assign(bytes.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  char* to = out.data();
  size_t to_left = out.size();
  const size_t result = ::iconv(cd, &in, &in_left, &to, &to_left);
  ::iconv_close(cd);
  if (result == static_cast<size_t>(-1) || in_left != 0) return false;
  out.resize(out.size() - to_left);
  return true;
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

}  // namespace

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

std::string DecodeDeviceText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  if (Big5ToUtf8(bytes, out)) return out;
  return Latin1ToUtf8(bytes);
}

std::string CutWholeCharacters(std::string text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  if (IsValidUtf8(text)) {
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  } else {
    size_t i = 0;
    while (i < limit) {
      const auto c = static_cast<unsigned char>(text[i]);
      const size_t width = c >= 0x81 && c <= 0xFE ? 2 : 1;
      if (i + width > limit) break;
      i += width;
    }
    end = i;
  }
  text.resize(end);
  return text;
}

}  // namespace quenlet
