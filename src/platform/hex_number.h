#pragma once
// Numbers written as hexadecimal text, read one way for every field and
// file of the program: the address and value fields of the dialogs, the
// catalogue's counts, the PIC sum keys, the option pages' values.
//
// The text: leading blanks, an optional sign, an optional "0x" or "0X" (only
// when a digit follows it), then hexadecimal digits up to the first other
// character. Without digits it reads as 0. The value is counted exactly
// however many digits there are; what a value outside 0 .. the caller's
// largest becomes (a negative one, or one above the largest) is the
// caller's one overflow rule.
#include <cstdint>
#include <optional>
#include <string_view>

namespace quenlet {

enum class HexOverflow {
  kClamp,   // to the field: a larger value reads as the largest, a negative one as 0
  kRefuse,  // no value (the caller says why)
};

std::optional<uint64_t> ReadHexNumber(std::string_view text, uint64_t largest,
                                      HexOverflow overflow);

// The same digits in another base (10 for decimal fields); no "0x" prefix.
std::optional<uint64_t> ReadNumberInBase(std::string_view text, int base, uint64_t largest,
                                         HexOverflow overflow);

}  // namespace quenlet
