#pragma once
// Text fields of the unit's replies are fixed-size byte runs that a NUL may
// end early; what follows a NUL is no part of the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quenlet {

inline std::string UpToNul(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

inline std::string UpToNul(const uint8_t* bytes, size_t count) {
  return UpToNul(std::string_view(reinterpret_cast<const char*>(bytes), count));
}

}  // namespace quenlet
