#include "platform/int_text.h"

#include <gtest/gtest.h>

#include "platform/strprintf.h"

namespace quenlet {
namespace {

struct StrictCase {
  const char* text;
  int32_t value;
};

TEST(StrToInt, AcceptsDecimalAndEveryHexPrefix) {
  const StrictCase cases[] = {
      {"0", 0},
      {"8191", 8191},
      {"  42", 42},
      {"+7", 7},
      {"-12", -12},
      {"$1F", 0x1F},
      {"x1f", 0x1F},
      {"X1F", 0x1F},
      {"0x1F", 0x1F},
      {"0X1f", 0x1F},
      {"-$10", -16},
      {"70000", 70000},
      {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"007", 7},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToInt, RefusesWithTheConversionText) {
  const char* bad[] = {"",    " ",          "abc",        "12a", "0x",   "$",  "1 2",
                       "12 ", "2147483648", "$100000000", "--1", "0xG1", "1.5"};
  for (const char* text : bad) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), strprintf("'%s' is not a valid integer value", text));
      EXPECT_EQ(e.text(), text);
    }
  }
}

TEST(LenientStrToInt, DecimalOrZeroXHexElseDefault) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"1", 1},   {"-5", -5},    {"0x10", 16},        {"0XfF", 255},
      {"", 77},   {"abc", 77},   {"$10", 77},         {"x10", 77},
      {"0x", 77}, {"12abc", 77}, {"99999999999", 77},
  };
  for (const auto& c : cases) EXPECT_EQ(LenientStrToInt(c.text, 77), c.value) << c.text;
}

TEST(StrPrintf, KeepsPrintfFormatsAndLongTexts) {
  EXPECT_EQ(strprintf("%07lX", 0x1FFFFlu), "001FFFF");
  std::string long_text(1000, 'a');
  EXPECT_EQ(strprintf("[%s]", long_text.c_str()), "[" + long_text + "]");
}

}  // namespace
}  // namespace quenlet
