#include "ui/controls/display_text.h"

#include <gtest/gtest.h>

namespace quenlet {
namespace {

TEST(DisplayTextTest, Utf8WhenValidElseBig5) {
  struct Case {
    const char* bytes;
    const char* shown;  // UTF-8
  };
  const Case cases[] = {
      {"AM29F010", "AM29F010"},
      {"\xE4\xB8\xAD\xE6\x96\x87", "中文"},  // UTF-8 as it is
      {"\xA4\xA4\xA4\xE5", "中文"},          // Big5 from an older device file
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayText(c.bytes).toStdString(), c.shown) << c.bytes;
  }
}

}  // namespace
}  // namespace quenlet
