#include "platform/text_decode.h"

#include <gtest/gtest.h>

namespace quenlet {
namespace {

TEST(DecodeDeviceText, Utf8AsItIsElseBig5ElseLatin1) {
  const struct {
    const char* bytes;
    const char* shown;
  } cases[] = {
      {"AM29F010", "AM29F010"},
      {"", ""},
      {"\xE4\xB8\xAD\xE6\x96\x87", "\xE4\xB8\xAD\xE6\x96\x87"},  // UTF-8 kept
      {"\xA4\xA4\xA4\xE5 IC", "\xE4\xB8\xAD\xE6\x96\x87 IC"},    // Big5 read as such
      {"\xA4", "\xC2\xA4"},                                      // half a Big5 pair: Latin-1
      {"Caf\xE9", "Caf\xC3\xA9"},                                // neither: Latin-1
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeDeviceText(c.bytes), c.shown) << c.bytes;
}

}  // namespace
}  // namespace quenlet
