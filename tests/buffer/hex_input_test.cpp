// The text routines of the buffer dialogs' hex fields.
#include "buffer/hex_input.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/fakes.h"
#include "support/temp_dir.h"

namespace quenlet {
namespace {

TEST(HexInput, TextReadsAsUnsignedHexLikeStrtoul) {
  struct Row {
    std::string text;
    uint64_t value;
  };
  const Row rows[] = {
      {"", 0},
      {"FF", 0xFF},
      {"ff", 0xFF},
      {"0x1F", 0x1F},
      {"  1A", 0x1A},
      {"12G4", 0x12},
      {"0xG", 0},
      {"FFFFFFF", 0xFFFFFFF},
      {"100000000", 0x100000000},  // 64 bits: no wrap at 32
      {"FFFFFFFFFFFFFFFFF", UINT64_MAX},
      // Only the first 256 characters are read.
      {std::string(255, '0') + "12", 0x1},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(HexTextToInt(row.text), row.value) << row.text;
  }
}

TEST(HexInput, FieldFiltersKeepOnlyHexDigits) {
  EXPECT_EQ(LimitEditText("12345678", 7), "1234567");
  EXPECT_EQ(LimitEditText("12", 7), "12");
  EXPECT_EQ(FilterHexEdit("12G4"), "12");
  EXPECT_EQ(FilterHexEdit("aBc9"), "aBc9");
  EXPECT_EQ(FilterHexEdit(" 1"), "");
  struct Key {
    char in;
    char out;
  };
  for (const Key& k : {Key{'0', '0'}, Key{'9', '9'}, Key{'A', 'A'}, Key{'F', 'F'}, Key{'a', 'A'},
                       Key{'f', 'F'}, Key{'\b', '\b'}, Key{'g', 0}, Key{'G', 0}, Key{' ', 0},
                       Key{'x', 0}, Key{'-', 0}, Key{'\x7f', 0}}) {
    EXPECT_EQ(HexCharFilter(k.in), k.out) << int(k.in);
  }
}

TEST(HexInput, ChecksReportWithTheirCaptions) {
  testing::FakeMessages messages;
  uint64_t value = 77;

  EXPECT_TRUE(CheckHexRangeOrder("FF", "0", &messages));
  EXPECT_FALSE(CheckHexRangeOrder("0", "0", &messages));
  EXPECT_TRUE(CheckHexBelow("EFFFFF", 0xF00000, value, &messages));
  EXPECT_EQ(value, 0xEFFFFFu);
  EXPECT_FALSE(CheckHexBelow("F00000", 0xF00000, value, &messages));
  EXPECT_EQ(value, 0xEFFFFFu);  // untouched when refused
  EXPECT_TRUE(CheckHexAtLeast("10", 0x10, value, &messages));
  EXPECT_EQ(value, 0x10u);
  EXPECT_FALSE(CheckHexAtLeast("F", 0x10, value, &messages));

  ASSERT_EQ(messages.boxes.size(), 3u);
  EXPECT_EQ(messages.boxes[0].text, "Input Value Error !");
  EXPECT_EQ(messages.boxes[0].caption, "Error");
  for (size_t i : {1u, 2u}) {
    EXPECT_EQ(messages.boxes[i].text, "Input Value Error !");
    EXPECT_EQ(messages.boxes[i].caption, "ERROR");
  }
  for (const auto& box : messages.boxes) EXPECT_EQ(box.icon, MessageIcon::Stop);

  // Without a report nothing is shown.
  EXPECT_FALSE(CheckHexBelow("100", 0x100, value, nullptr));
  EXPECT_FALSE(CheckHexRangeOrder("1", "2", nullptr));
  EXPECT_EQ(messages.boxes.size(), 3u);
}

TEST(HexInput, FieldsTakeEightDigitsAndClampWhatTheyCannotHold) {
  struct Row {
    uint64_t size;
    const char* text;
  };
  for (const Row& row : {Row{0, "0000000"},  // nothing: as every dialog shows an empty range
                         Row{1, "0000000"}, Row{256, "00000FF"}, Row{0xFFFFFFF, "FFFFFFE"},
                         Row{0x10000000, "FFFFFFF"}, Row{0x20000400, "200003FF"},
                         Row{0x100000000, "FFFFFFFF"}, Row{0x100000100, "FFFFFFFF"}}) {
    EXPECT_EQ(LastAddressText(row.size), row.text) << row.size;
  }
  // A clamped byte address takes its word twin along.
  const AddressTwinTexts fits = AddressTwins(0x10000000, 0x8000000);
  EXPECT_EQ(fits.byte, "10000000");
  EXPECT_EQ(fits.word, "8000000");
  const AddressTwinTexts clamped = AddressTwins(0x1FFFFFFFF, 0xFFFFFFFF);
  EXPECT_EQ(clamped.byte, "FFFFFFFF");
  EXPECT_EQ(clamped.word, "7FFFFFFF");
}

TEST(HexInput, ByteAndWordTwinsConvertExactly) {
  EXPECT_EQ(ByteToWordAddressText("0000101"), "0000080");
  EXPECT_EQ(ByteToWordAddressText("1"), "0000000");
  EXPECT_EQ(ByteToWordAddressText(""), "0000000");
  EXPECT_EQ(WordToByteAddressText("0000080"), "0000100");
  // A word address whose byte address needs eight digits shows all of them.
  EXPECT_EQ(WordToByteAddressText("8000000"), "10000000");
  EXPECT_EQ(UpdateDestEndText("100", "10", "1F"), "000010F");
  EXPECT_EQ(UpdateDestEndText("100", "1F", "1F"), std::nullopt);
}

class HexInputFileTest : public testing::TempDirTest {};

TEST_F(HexInputFileTest, OnlyRegularFilesExistAndGiveARange) {
  testing::WriteFile(dir_ / "data.bin", std::string(256, 'x'));
  testing::WriteFile(dir_ / "empty.bin", "");
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(dir_ / "folder");

  const auto range = ShowFileEndAddress(Path("data.bin"));
  ASSERT_TRUE(range);
  EXPECT_EQ(range->start, "000000");
  EXPECT_EQ(range->end, "00000FF");
  EXPECT_EQ(ShowFileEndAddress(Path("empty.bin"))->end, "0000000");

  testing::FakeMessages messages;
  EXPECT_TRUE(FileExistsCheck(Path("data.bin"), &messages));
  for (const char* name : {"fifo", "folder", "missing.bin"}) {
    SCOPED_TRACE(name);
    // stat only: a FIFO is never opened, so nothing can block here.
    EXPECT_FALSE(ShowFileEndAddress(Path(name)));
    EXPECT_FALSE(FileExistsCheck(Path(name), nullptr));
  }
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_FALSE(FileExistsCheck(Path("fifo"), &messages));
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "Not Found File ! ");
  EXPECT_EQ(messages.boxes[0].caption, "ERROR");
  EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Stop);
}

}  // namespace
}  // namespace quenlet
