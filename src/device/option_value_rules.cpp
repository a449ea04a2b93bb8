#include "device/option_value_rules.h"

#include <cstdint>

#include "platform/hex_number.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

// Whether the edit's text, read in the type's base, names more than max.
bool AboveMax(std::string_view text, bool hex, uint32_t max) {
  const std::optional<uint64_t> value = hex ? ReadHexNumber(text, max, HexOverflow::kRefuse)
                                            : ReadNumberInBase(text, 10, max, HexOverflow::kRefuse);
  return !value;
}

// Index 0 to 5: the three widths of each base.
constexpr uint32_t kMax[] = {255, 65535, 16777215};
constexpr size_t kDecimalDigits[] = {3, 5, 8};
constexpr size_t kHexDigits[] = {2, 4, 6};

}  // namespace

bool IsDecimalValueType(int32_t value_type) {
  return value_type >= 0 && value_type <= 2;
}

bool IsHexValueType(int32_t value_type) {
  return value_type >= 3 && value_type <= 5;
}

const char* ValueTypeSuffix(int32_t value_type) {
  if (IsDecimalValueType(value_type)) return " [DEC] : ";
  if (IsHexValueType(value_type)) return " [HEX] : ";
  if (value_type == kTextValueType) return " [CHAR] : ";
  return "";
}

uint32_t DefaultValueMax(int32_t value_type) {
  return IsNumericValueType(value_type) ? kMax[value_type % 3] : 0;
}

size_t ValueDigitLimit(int32_t value_type) {
  if (IsDecimalValueType(value_type)) return kDecimalDigits[value_type];
  if (IsHexValueType(value_type)) return kHexDigits[value_type - 3];
  return 0;
}

char FilterValueKey(int32_t value_type, char key) {
  if (!IsNumericValueType(value_type)) return key;
  if (key == '\b' || (key >= '0' && key <= '9')) return key;
  if (!IsHexValueType(value_type)) return 0;
  if (key >= 'A' && key <= 'F') return key;
  if (key >= 'a' && key <= 'f') return static_cast<char>(key - 'a' + 'A');
  return 0;
}

std::string FormatOptionValue(int32_t value_type, int32_t value) {
  if (IsHexValueType(value_type)) return strprintf("%X", static_cast<unsigned>(value));
  return strprintf("%d", value);
}

std::string FormatValueMax(int32_t value_type, uint32_t value_max) {
  return strprintf(IsHexValueType(value_type) ? "%X" : "%u", value_max);
}

std::string ClampValueText(int32_t value_type, uint32_t value_max, std::string text) {
  if (!IsNumericValueType(value_type)) return text;
  const size_t limit = ValueDigitLimit(value_type);
  const bool hex = IsHexValueType(value_type);
  // Each replacement shortens the text or lowers its value, so this ends.
  for (;;) {
    // The edit is read up to 255 characters.
    const std::string_view read = std::string_view(text).substr(0, 255);
    std::string next;
    if (read.size() > limit) {
      next = std::string(read.substr(0, limit));
    } else if (AboveMax(read, hex, value_max)) {
      next = FormatValueMax(value_type, value_max);
    } else {
      return text;
    }
    if (next == text) return text;
    text = std::move(next);
  }
}

}  // namespace quenlet
