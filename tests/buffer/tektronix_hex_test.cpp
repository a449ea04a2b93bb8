#include "buffer/tektronix_hex.h"

#include <gtest/gtest.h>

#include "format_test_support.h"
#include "platform/user_interfaces.h"

namespace quenlet {
namespace {

using testing::Lines;
using testing::StringSink;

HexReadResult Read(const std::string& text) {
  NullProgress progress;
  return ReadTektronixHex(text, 0x77, progress);
}

TEST(TektronixRead, RecordsUpToTheEndRecord) {
  HexReadResult r = Read("/00000202AABB2A\r\n/00100203CC0018\r\n/00000000\r\n/00200204DD001A\r\n");
  ASSERT_TRUE(r.ok()) << r.failure->reason;
  auto b = r.image.Bytes();
  ASSERT_EQ(r.image.LastAddress(), 0x11u);
  EXPECT_EQ(b[0], 0xAA);
  EXPECT_EQ(b[1], 0xBB);
  EXPECT_EQ(b[2], 0x77);
  EXPECT_EQ(b[0x10], 0xCC);
  // A blank or comment line before the first record is no damage to the reader.
  EXPECT_TRUE(Read("\r\n/00000202AABB2A\r\n").ok());
  EXPECT_TRUE(Read("dump of a tool\r\n/00000202AABB2A\r\n").ok());
}

TEST(TektronixRead, DamageIsRefusedWithItsLine) {
  struct Row {
    std::string text;
    HexParseFailure::Kind kind;
    size_t line;
  };
  using K = HexParseFailure::Kind;
  for (const Row& row : {Row{"/00000203AABB2A\r\n", K::Checksum, 1},
                         Row{"/00000202AABB2A\r\n/00000202AABB2B\r\n", K::Checksum, 2},
                         Row{"/00000202AABB\r\n", K::Format, 1}, Row{"/0000\r\n", K::Format, 1},
                         Row{"/00000202AABB2A0\r\n", K::Format, 1},
                         Row{"\x02/00000202AABB2A\r\n", K::Format, 1}, Row{"", K::Format, 1}}) {
    HexReadResult r = Read(row.text);
    ASSERT_FALSE(r.ok()) << row.text;
    EXPECT_EQ(r.failure->kind, row.kind) << row.text;
    EXPECT_EQ(r.failure->line, row.line) << row.text;
  }
}

TEST(TektronixDetect, OnlyTheFirstRecordDecides) {
  EXPECT_TRUE(DetectTektronixHex("/00000202AABB2A\r\n"));
  EXPECT_TRUE(DetectTektronixHex("/00000202AABB2A\r\ngarbage"));
  EXPECT_FALSE(DetectTektronixHex("\r\n/00000202AABB2A\r\n"));
  EXPECT_FALSE(DetectTektronixHex("/00000000\r\n"));
  EXPECT_FALSE(DetectTektronixHex("/00000203AABB2A\r\n"));
  EXPECT_FALSE(DetectTektronixHex("/00000202AABB2B\r\n"));
  EXPECT_FALSE(DetectTektronixHex("/00000202AABB"));
  EXPECT_FALSE(DetectTektronixHex("/"));
}

TEST(TektronixWrite, SixteenByteRecordsWithBothChecksums) {
  std::vector<uint8_t> bytes(48);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  StringSink sink;
  NullProgress progress;
  ASSERT_EQ(WriteTektronixHex(sink, SaveSource(bytes), 33, progress), WriteOutcome::Written);
  const auto lines = Lines(sink.text);
  ASSERT_EQ(lines.size(), 5u);  // 64 bytes: four records, then the end
  EXPECT_EQ(lines[0],
            "/00001001"
            "00070E151C232A31383F464D545B6269"
            "A5");
  EXPECT_EQ(lines[3].substr(0, 9), "/00301004");
  EXPECT_EQ(lines[4], "/00000000");
  EXPECT_EQ(sink.text.size(), 4 * 45u + 11);
  HexReadResult back = Read(sink.text);
  ASSERT_TRUE(back.ok());
  EXPECT_EQ(back.image.Bytes()[32], bytes[32]);

  StringSink too_big;
  EXPECT_EQ(WriteTektronixHex(too_big, SaveSource(bytes), 0x10001, progress), WriteOutcome::TooBig);
}

}  // namespace
}  // namespace quenlet
