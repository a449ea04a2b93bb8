#include "buffer/motorola_srec.h"

#include <gtest/gtest.h>

#include <ostream>

#include "format_test_support.h"
#include "platform/user_interfaces.h"

namespace quenlet {
namespace {

using testing::Lines;
using testing::StringSink;

HexReadResult Read(const std::string& text, uint8_t fill = 0xFF) {
  NullProgress progress;
  return ReadMotorolaS(text, fill, progress);
}

std::vector<uint8_t> At(const HexReadResult& r, uint64_t address, size_t n) {
  auto b = r.image.Bytes();
  if (address + n > b.size()) return {};
  return {b.begin() + address, b.begin() + address + n};
}

// A text that goes on after the records that matter, as files do: those
// after the first are then read in one go.
std::string ThenMore(const std::string& text) {
  return text + "S9030000FC\n" + std::string(64, ' ') + "\n";
}

TEST(MotorolaRead, S1S2S3RecordsAndSkippedRecords) {
  const std::string text =
      "S00600004844521B\r\n"
      "# a tool's comment line\r\n"
      "S1070000AABBCCDDEA\r\n"
      "S206FFFFFE1122CA\r\n"
      "S5030004F8\r\n"
      "S604000001FA\r\n"
      "S9030000FC\r\n";
  HexReadResult r = Read(text, 0x5A);
  ASSERT_TRUE(r.ok()) << r.failure->reason;
  EXPECT_EQ(At(r, 0, 4), (std::vector<uint8_t>{0xAA, 0xBB, 0xCC, 0xDD}));
  EXPECT_EQ(At(r, 0xFFFFFE, 2), (std::vector<uint8_t>{0x11, 0x22}));
  EXPECT_EQ(r.image.LastAddress(), 0xFFFFFFu);
  EXPECT_EQ(At(r, 4, 1), std::vector<uint8_t>{0x5A});

  // Lower-case digits, in the records that follow the first one too.
  HexReadResult lower = Read(ThenMore("S1070000aabbccddea\nS1070004AaBbcCdDe6\n"));
  ASSERT_TRUE(lower.ok()) << lower.failure->reason;
  EXPECT_EQ(At(lower, 0, 8),
            (std::vector<uint8_t>{0xAA, 0xBB, 0xCC, 0xDD, 0xAA, 0xBB, 0xCC, 0xDD}));
}

TEST(MotorolaRead, S3AddressesCountFromTheFirstRecordsWindow) {
  // A single record in the second 16 MB window loads at its low 24 bits.
  HexReadResult one = Read("S3060100001011D7\r\n");
  ASSERT_TRUE(one.ok());
  EXPECT_EQ(one.image.LastAddress(), 0x10u);
  EXPECT_EQ(At(one, 0x10, 1), std::vector<uint8_t>{0x11});

  // A chip mapped at 0x08000000 loads from 0.
  HexReadResult high = Read("S3060800000044AD\n");
  ASSERT_TRUE(high.ok());
  EXPECT_EQ(high.image.LastAddress(), 0u);

  // A file larger than 16 MB keeps its layout rather than folding.
  HexReadResult wide = Read("S3060000000022D7\nS3060100001011D7\n");
  ASSERT_TRUE(wide.ok());
  EXPECT_EQ(At(wide, 0, 1), std::vector<uint8_t>{0x22});
  EXPECT_EQ(At(wide, 0x1000010, 1), std::vector<uint8_t>{0x11});

  // Data below the first record's window would have nowhere to go.
  HexReadResult below = Read("S3060800000044AD\nS30607FFFFFF55A0\n");
  ASSERT_FALSE(below.ok());
  EXPECT_EQ(below.failure->line, 2u);
}

class MotorolaBadTest : public ::testing::TestWithParam<testing::BadCase> {};

TEST_P(MotorolaBadTest, RefusesWithLine) {
  const testing::BadCase& c = GetParam();
  HexReadResult r = Read(c.text);
  testing::ExpectRefused(r, c);
}

using K = HexParseFailure::Kind;

INSTANTIATE_TEST_SUITE_P(
    Damage, MotorolaBadTest,
    ::testing::Values(
        testing::BadCase{"bad_checksum", ThenMore("S1070000AABBCCDDEA\nS1070000AABBCCDDEB\n"),
                         K::Checksum, 2, "EB"},
        testing::BadCase{"bad_checksum_in_header", "S0030000FD\nS1070000AABBCCDDEA\n", K::Checksum,
                         1, "FD"},
        testing::BadCase{"truncated", "S1070000AABBCCDDEA\nS1070000AABB", K::Format, 2,
                         "cut short"},
        testing::BadCase{"odd_digits", "S1070000AABBCCDDE\r\n", K::Format, 1, "cut short"},
        testing::BadCase{"unknown_type", "S4030000FC\n", K::Format, 1, "S4"},
        testing::BadCase{"count_too_small", "S1020000\n", K::Format, 1, "too small"},
        testing::BadCase{"control_byte", "S1070000AABBCCDDEA\n\x7F\n", K::Format, 2, "0x7F"},
        testing::BadCase{"empty", "\r\n", K::Format, 1, "no S-record"},
        // Damage after a sound data record, where records are read in one go.
        testing::BadCase{"later_bad_digit", ThenMore("S1070000AABBCCDDEA\nS1070004AABBCGDDE6\n"),
                         K::Format, 2, "'G' is not a hex digit"},
        testing::BadCase{"later_more_digits",
                         ThenMore("S1070000AABBCCDDEA\nS1070004AABBCCDDE600\n"), K::Format, 2,
                         "more digits than its count 07"},
        testing::BadCase{"later_other_characters",
                         ThenMore("S1070000AABBCCDDEA\nS1070004AABBCCDDE6x\n"), K::Format, 2,
                         "followed by other characters"},
        testing::BadCase{"later_past_the_last_address",
                         ThenMore("S3060800000044AD\nS30EFFFFFFF8000102030405060708D8\n"),
                         K::Format, 2, "runs past the last address"},
        testing::BadCase{"later_past_the_last_address_in_the_top_window",
                         ThenMore("S306FF00000044B6\nS30EFFFFFFF8000102030405060708D8\n"),
                         K::Format, 2, "runs past the last address"},
        testing::BadCase{"later_beyond_the_largest_buffer",
                         ThenMore("S3060000000022D7\nS306300000001100\n"), K::Format, 2,
                         "beyond the largest buffer"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MotorolaDetect, EveryDataRecordMustBeRight) {
  const std::string good = "S00600004844521B\nS1070000AABBCCDDEA\nS9030000FC\n";
  EXPECT_TRUE(DetectMotorolaHex(good));
  EXPECT_TRUE(DetectMotorolaHex("%S1070000AABBCCDDEA\n"));
  EXPECT_FALSE(DetectMotorolaHex(good + "S1070004AABBCCDDEA\n"));  // bad last checksum
  // Data records whose checksums are all 00 prove nothing.
  EXPECT_FALSE(DetectMotorolaHex("S1040000FB00\n"));
  EXPECT_FALSE(DetectMotorolaHex("Some text\n"));
  EXPECT_FALSE(DetectMotorolaHex("S6040000FB\nS1070000AABBCCDDEA\n"));
  EXPECT_FALSE(DetectMotorolaHex("S1070000AABB"));
  EXPECT_FALSE(DetectMotorolaHex("S"));
}

std::string Write(SRecordVariant v, const std::vector<uint8_t>& bytes, uint64_t length,
                  WriteOutcome* outcome = nullptr) {
  StringSink sink;
  NullProgress progress;
  WriteOutcome o = WriteMotorolaS(sink, SaveSource(bytes), v, length, progress);
  if (outcome) *outcome = o;
  return sink.text;
}

TEST(MotorolaWrite, RecordShapesOfEachVariant) {
  std::vector<uint8_t> bytes(32);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(0xA0 + i);
  struct Row {
    SRecordVariant variant;
    const char* second_record_head;
    size_t record_size;
    const char* end;
  };
  for (const Row& row : {Row{SRecordVariant::S1, "S1130010", 44, "S9030000FC"},
                         Row{SRecordVariant::S2, "S214000010", 46, "S9030000FC"},
                         Row{SRecordVariant::S3, "S31500000010", 48, "S70500000000FA"}}) {
    const std::string text = Write(row.variant, bytes, 20);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "S0030000FC");
    EXPECT_EQ(lines[2].substr(0, std::string(row.second_record_head).size()),
              row.second_record_head);
    EXPECT_EQ(lines[1].size() + 2, row.record_size);
    EXPECT_EQ(lines[3], row.end);
    HexReadResult back = Read(text);
    ASSERT_TRUE(back.ok()) << back.failure->reason;
    EXPECT_EQ(std::vector<uint8_t>(back.image.Bytes().begin(), back.image.Bytes().end()), bytes);
  }
  EXPECT_EQ(Lines(Write(SRecordVariant::S1, bytes, 16))[1],
            "S1130000A0A1A2A3A4A5A6A7A8A9AAABACADAEAF74");
}

TEST(MotorolaWrite, RangesTheVariantCannotAddressAreRefused) {
  WriteOutcome o;
  const std::vector<uint8_t> none;
  Write(SRecordVariant::S1, none, 0x10000, &o);
  EXPECT_EQ(o, WriteOutcome::Written);
  EXPECT_TRUE(Write(SRecordVariant::S1, none, 0x10001, &o).empty());
  EXPECT_EQ(o, WriteOutcome::TooBig);
  Write(SRecordVariant::S2, none, 0x1000001, &o);
  EXPECT_EQ(o, WriteOutcome::TooBig);
}

}  // namespace
}  // namespace quenlet
