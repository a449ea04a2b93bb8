#pragma once
// The input rules of the option pages' value edits, by value type
// (ValueType%d of the page-description file):
//   0, 1, 2  decimal "%d", label " [DEC] : ", 3, 5 or 8 digits,
//            at most 255, 65535 or 16777215 unless the file says otherwise
//   3, 4, 5  hexadecimal "%X", label " [HEX] : ", 2, 4 or 6 digits, same limits
//   6        text, label " [CHAR] : ", no rules
//   other    no text, no suffix, no rules
#include <cstdint>
#include <string>

namespace quenlet {

bool IsDecimalValueType(int32_t value_type);
bool IsHexValueType(int32_t value_type);
inline bool IsNumericValueType(int32_t value_type) {
  return IsDecimalValueType(value_type) || IsHexValueType(value_type);
}
inline constexpr int32_t kTextValueType = 6;

// The label's suffix; "" for types outside 0 to 6.
const char* ValueTypeSuffix(int32_t value_type);
// ValueMax%d when the file has none: 255, 65535 or 16777215; 0 for other types.
uint32_t DefaultValueMax(int32_t value_type);
// Digits a numeric edit keeps; 0 for other types.
size_t ValueDigitLimit(int32_t value_type);

// The character a key press puts into a numeric edit: digits of the type's
// base and backspace (8) pass, hexadecimal a-f become upper case; 0 drops
// the key. Other types take every key.
char FilterValueKey(int32_t value_type, char key);

// A stored value as the edit shows it: "%d" for decimal types, "%X" of the
// 32 bits for hexadecimal types.
std::string FormatOptionValue(int32_t value_type, int32_t value);
// The limit as the edit shows it, unsigned ("%u" or "%X").
std::string FormatValueMax(int32_t value_type, uint32_t value_max);

// The limit rule, applied whenever the edit's text changes, until the text
// is stable: a text longer than the digit limit is cut to it, else a value
// (digits of the base up to the first other character) above value_max
// becomes value_max. The result has at most the digit limit and does not
// exceed value_max when value_max fits in it. Other types: the text as is.
std::string ClampValueText(int32_t value_type, uint32_t value_max, std::string text);

}  // namespace quenlet
