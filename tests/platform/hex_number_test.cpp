// The one reading of hexadecimal text, with each caller's overflow rule.
#include "platform/hex_number.h"

#include <gtest/gtest.h>

#include <string>

namespace quenlet {
namespace {

TEST(HexNumber, ReadsLeadingDigitsAndAppliesTheCallersRule) {
  struct Row {
    std::string text;
    uint64_t largest;
    std::optional<uint64_t> clamped;  // kClamp
    std::optional<uint64_t> refused;  // kRefuse
  };
  const Row rows[] = {
      {"", 0xFF, 0, 0},
      {"1A", 0xFF, 0x1A, 0x1A},
      {"1a", 0xFF, 0x1A, 0x1A},
      {"0x1F", 0xFF, 0x1F, 0x1F},
      {"0X1f", 0xFF, 0x1F, 0x1F},
      {"0x", 0xFF, 0, 0},   // "0", then an "x" without digits
      {"0xG", 0xFF, 0, 0},  // the prefix counts only before a digit
      {"  \t7", 0xFF, 7, 7},
      {"12G4", 0xFF, 0x12, 0x12},
      {"12 apples", 0xFFFF, 0x12, 0x12},
      {"None", 0xFF, 0, 0},
      {"FF", 0xFF, 0xFF, 0xFF},
      {"100", 0xFF, 0xFF, std::nullopt},
      {"-0", 0xFF, 0, 0},
      {"-5", 0xFFFF, 0, std::nullopt},  // below the field: 0, or no value
      {"+5", 0xFF, 5, 5},
      {"FFFFFFFF", 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
      {"100000000", 0xFFFFFFFF, 0xFFFFFFFF, std::nullopt},
      // Counted exactly past 64 bits: never a wrap to a small value.
      {"1" + std::string(16, '0') + "5", UINT64_MAX, UINT64_MAX, std::nullopt},
      {std::string(40, 'F'), 0xFFFF, 0xFFFF, std::nullopt},
      {std::string(30, '0') + "12", 0xFF, 0x12, 0x12},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ReadHexNumber(row.text, row.largest, HexOverflow::kClamp), row.clamped);
    EXPECT_EQ(ReadHexNumber(row.text, row.largest, HexOverflow::kRefuse), row.refused);
  }
}

TEST(HexNumber, OtherBasesHaveNoPrefix) {
  EXPECT_EQ(ReadNumberInBase("255", 10, 255, HexOverflow::kRefuse), 255u);
  EXPECT_EQ(ReadNumberInBase("256", 10, 255, HexOverflow::kRefuse), std::nullopt);
  EXPECT_EQ(ReadNumberInBase("99999", 10, 7, HexOverflow::kClamp), 7u);
  EXPECT_EQ(ReadNumberInBase("12A", 10, 999, HexOverflow::kRefuse), 12u);
  EXPECT_EQ(ReadNumberInBase("0x10", 10, 999, HexOverflow::kRefuse), 0u);
}

}  // namespace
}  // namespace quenlet
