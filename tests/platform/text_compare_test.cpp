#include "platform/text_compare.h"

#include <gtest/gtest.h>

namespace quenlet {
namespace {

TEST(SameTextNoCase, AsciiCaseOnlyAndNeverInsideABig5Character) {
  const struct {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"VK_KZExternValue", "vk_kzexternvalue", true},
      {"Data_Width", "Data_Widt", false},
      {"\xE5\xAD\x97X", "\xE5\xAD\x97x", true},  // UTF-8 text, ASCII letter after it
      {"\xA4\x41", "\xA4\x61", false},           // two different Big5 characters
      {"\xA4\x40Key", "\xA4\x40KEY", true},      // Big5 character, then ASCII letters
      {"\xC3\xA9", "\xC3\x89", false},           // case of non-ASCII letters is not folded
  };
  for (const auto& c : cases) EXPECT_EQ(SameTextNoCase(c.a, c.b), c.same) << c.a << " / " << c.b;
}

}  // namespace
}  // namespace quenlet
