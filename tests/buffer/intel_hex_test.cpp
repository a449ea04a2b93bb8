#include "buffer/intel_hex.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cctype>

#include "format_test_support.h"
#include "platform/user_interfaces.h"

namespace quenlet {
namespace {

using testing::Lines;
using testing::StringSink;

std::vector<uint8_t> Counting(uint8_t first, size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(first + i);
  return v;
}

struct ReadCase {
  const char* name;
  std::string text;
  uint64_t address;  // where `bytes` must lie
  std::vector<uint8_t> bytes;
  uint64_t last_address;
};

class IntelReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IntelReadTest, PlacesRecordsAtTheirAddresses) {
  const ReadCase& c = GetParam();
  NullProgress progress;
  HexReadResult r = ReadIntelHex(c.text, 0xEE, progress);
  ASSERT_TRUE(r.ok()) << r.failure->reason;
  EXPECT_EQ(r.image.LastAddress(), c.last_address);
  auto image = r.image.Bytes();
  ASSERT_GE(image.size(), c.address + c.bytes.size());
  EXPECT_EQ(
      std::vector<uint8_t>(image.begin() + c.address, image.begin() + c.address + c.bytes.size()),
      c.bytes);
  // Every address below the data carries the fill byte.
  for (uint64_t a = 0; a < c.address; ++a) ASSERT_EQ(image[a], 0xEE) << a;
}

// Test names say which case failed; the whole case object is not printed.
void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Records, IntelReadTest,
    ::testing::Values(
        ReadCase{"data", ":0400000001020304F2\r\n:00000001FF\r\n", 0, {1, 2, 3, 4}, 3},
        ReadCase{"comment lines skipped",
                 "; made by a tool\r\n:0400000001020304F2\r\nend\r\n",
                 0,
                 {1, 2, 3, 4},
                 3},
        ReadCase{"segment", ":020000021000EC\r\n:0100000055AA\r\n", 0x10000, {0x55}, 0x10000},
        ReadCase{"linear", ":020000040001F9\r\n:0100000055AA\r\n", 0x10000, {0x55}, 0x10000},
        ReadCase{"linear plus segment add up",
                 ":020000040001F9\n:020000021000EC\n:0100000055AA\n",
                 0x20000,
                 {0x55},
                 0x20000},
        ReadCase{"fill below data", ":01001000559A\n", 0x10, {0x55}, 0x10},
        ReadCase{"no end record", ":0100000055AA\n:010100006698", 0, {0x55}, 0x100},
        ReadCase{"end record ends", ":0100000055AA\n:00000001FF\n:010100006698\n", 0, {0x55}, 0},
        ReadCase{"lower case, blanks, DOS end mark",
                 "\r\n  :0400000001020304f2 \r\n:00000001ff\r\n\x1a",
                 0,
                 {1, 2, 3, 4},
                 3},
        ReadCase{"long record in lower case",
                 ":20000000404142434445464748494a4b4c4d4e4f505152535455565758595a5b5c5d5e5ff0\n", 0,
                 Counting(0x40, 32), 0x1F},
        ReadCase{
            "start address records skipped", ":04000005000000CD2A\n:0100000055AA\n", 0, {0x55}, 0}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& ch : n) {
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return n;
    });

class IntelBadTest : public ::testing::TestWithParam<testing::BadCase> {};

// A damaged text is refused as a whole, naming the line; checksum errors too:
// loading after a warning would put corrupt data on a chip.
TEST_P(IntelBadTest, RefusesWithLine) {
  const testing::BadCase& c = GetParam();
  NullProgress progress;
  HexReadResult r = ReadIntelHex(c.text, 0xFF, progress);
  testing::ExpectRefused(r, c);
}

using K = HexParseFailure::Kind;

INSTANTIATE_TEST_SUITE_P(
    Damage, IntelBadTest,
    ::testing::Values(
        testing::BadCase{"bad_checksum", ":0100000055AA\n:0400000001020304F3\n", K::Checksum, 2,
                         "F3"},
        testing::BadCase{"truncated", ":0100000055AA\n:04000000010203", K::Format, 2, "cut short"},
        testing::BadCase{"odd_digit_count", ":0400000001020304F\r\n:00000001FF\r\n", K::Format, 1,
                         "cut short"},
        testing::BadCase{"extra_digit", ":0400000001020304F20\r\n", K::Format, 1, "more digits"},
        testing::BadCase{"not_hex", ":04000000010G0304F2\r\n", K::Format, 1, "'G'"},
        testing::BadCase{"past_the_last_address",
                         ":02000004FFFFFC\r\n:10FFF800000102030405060708090A0B0C0D0E0F81\r\n",
                         K::Format, 2, "runs past the last address FFFFFFFF"},
        // Within the sixteen-digit groups of a long record as well.
        testing::BadCase{
            "not_hex_in_long_record",
            ":20000000404142434445464748494A4B4C4D4E4g505152535455565758595A5B5C5D5E5FF0\n",
            K::Format, 1, "'g'"},
        testing::BadCase{"high_byte_in_long_record",
                         ":20000000404142434445464748494A4B4C4D4E4F505152535\xB5"
                         "55565758595A5B5C5D5E5FF0\n",
                         K::Format, 1, "0xB5"},
        testing::BadCase{"unknown_type", "\n\n:00000006FA\n", K::Format, 3, "type 06"},
        testing::BadCase{"short_extended_record", ":0100000212EB\n", K::Format, 1,
                         "2 bytes, not 1"},
        testing::BadCase{"linear_record_past_max", ":020000042000DA\n:0100000055AA\n", K::Format, 2,
                         "beyond the largest buffer"},
        testing::BadCase{"linear_overrun_of_4_gb", ":02000004FFFFFC\n:0100000055AA\n", K::Format, 2,
                         "0xFFFF0000"},
        testing::BadCase{"nul_byte", std::string(":0100000055AA\n\0:00000001FF\n", 27), K::Format,
                         2, "NUL"},
        testing::BadCase{"control_byte", ":0100000055AA\n\x01\n", K::Format, 2, "0x01"},
        testing::BadCase{"empty", "", K::Format, 1, "no Intel HEX record"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IntelHexDetect, FirstGoodDataRecordWithin128Characters) {
  const std::string data = ":0400000001020304F2\r\n";
  EXPECT_TRUE(DetectIntelHex(data));
  EXPECT_TRUE(DetectIntelHex(":020000040000FA\r\n" + data));
  EXPECT_TRUE(DetectIntelHex(std::string(100, '#') + data));
  EXPECT_FALSE(DetectIntelHex(std::string(200, '#') + data));
  // Address and end records alone do not decide.
  EXPECT_FALSE(DetectIntelHex(":020000040000FA\r\n:00000001FF\r\n"));
  // A bad first data record is passed over; a good one after it decides.
  EXPECT_TRUE(DetectIntelHex(":0400000001020304F3\r\n" + data));
  // Records cut off at the text's end are not read past it.
  EXPECT_FALSE(DetectIntelHex(":04000000010203"));
  EXPECT_FALSE(DetectIntelHex(":"));
  EXPECT_FALSE(DetectIntelHex(""));
}

WriteOutcome Write(StringSink& sink, const std::vector<uint8_t>& bytes, uint64_t length) {
  NullProgress progress;
  return WriteIntelHex(sink, SaveSource(bytes), length, progress);
}

TEST(IntelHexWrite, ThirtyThreeBytesMakeTwoFullRecords) {
  std::vector<uint8_t> bytes(64);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
  StringSink sink;
  ASSERT_EQ(Write(sink, bytes, 33), WriteOutcome::Written);
  const auto lines = Lines(sink.text);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            ":20000000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1FF0");
  // The second record is padded with the bytes that follow the range.
  EXPECT_EQ(lines[1].substr(0, 13), ":200020002021");
  EXPECT_EQ(lines[1].size(), 75u);
  EXPECT_EQ(lines[2], ":00000001FF");
  EXPECT_EQ(sink.text.size(), 77u * 2 + 13);
  EXPECT_EQ(sink.text.substr(75, 2), "\r\n");
}

TEST(IntelHexWrite, SegmentRecordBeforeEachFurther64KB) {
  const auto bytes = testing::RandomBytes(0x10020 + 64, 7);
  StringSink sink;
  ASSERT_EQ(Write(sink, bytes, 0x10020), WriteOutcome::Written);
  const auto lines = Lines(sink.text);
  ASSERT_EQ(lines.size(), 0x800u + 1 + 1 + 1);
  EXPECT_EQ(lines[0].substr(0, 9), ":20000000");
  EXPECT_EQ(lines[0x7FF].substr(0, 9), ":20FFE000");
  EXPECT_EQ(lines[0x800], ":020000021000EC");
  EXPECT_EQ(lines[0x801].substr(0, 9), ":20000000");
  EXPECT_EQ(lines.back(), ":00000001FF");
}

TEST(IntelHexWrite, LargerThanOneMegabyteUsesLinearRecords) {
  // Segment records reach 1 MB; past it their one digit would overflow.
  StringSink small;
  ASSERT_EQ(Write(small, std::vector<uint8_t>(0x100000), 0x100000), WriteOutcome::Written);
  EXPECT_NE(small.text.find(":02000002F0000C\r\n"), std::string::npos);
  EXPECT_EQ(small.text.find(":02000004"), std::string::npos);

  StringSink big;
  ASSERT_EQ(Write(big, std::vector<uint8_t>(0x100020), 0x100020), WriteOutcome::Written);
  EXPECT_EQ(big.text.find(":02000002"), std::string::npos);
  EXPECT_NE(big.text.find(":020000040001F9\r\n"), std::string::npos);
  EXPECT_NE(big.text.find(":020000040010EA\r\n"), std::string::npos);
}

TEST(IntelHexWrite, PiecesOfAtMost64KBAndSinkFailureIsReported) {
  StringSink sink;
  ASSERT_EQ(Write(sink, std::vector<uint8_t>(0x20000), 0x20000), WriteOutcome::Written);
  ASSERT_GT(sink.pieces.size(), 1u);
  for (size_t piece : sink.pieces) EXPECT_LE(piece, 0xFFFFu);

  StringSink failing;
  failing.fail_after = 1;
  EXPECT_EQ(Write(failing, std::vector<uint8_t>(0x20000), 0x20000), WriteOutcome::FileError);
}

}  // namespace
}  // namespace quenlet
