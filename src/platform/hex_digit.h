#pragma once
// The value of one hexadecimal digit: 0-9, A-F and a-f give 0 to 15, any
// other character -1. Table-driven, since the hex file readers call it for
// every digit of a file.
#include <array>
#include <cstdint>

namespace quenlet {

inline int HexDigitValue(char c) {
  static constexpr auto kTable = [] {
    std::array<int8_t, 256> t{};
    for (auto& v : t) v = -1;
    for (int i = 0; i < 10; ++i) t['0' + i] = static_cast<int8_t>(i);
    for (int i = 0; i < 6; ++i) {
      t['A' + i] = static_cast<int8_t>(10 + i);
      t['a' + i] = static_cast<int8_t>(10 + i);
    }
    return t;
  }();
  return kTable[static_cast<unsigned char>(c)];
}

}  // namespace quenlet
