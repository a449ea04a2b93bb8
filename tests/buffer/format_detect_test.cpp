#include "buffer/format_detect.h"

#include <gtest/gtest.h>

#include "buffer/binary_file.h"
#include "buffer/dos_exe.h"
#include "buffer/pof_file.h"
#include "format_test_support.h"

namespace quenlet {
namespace {

std::string Repeated(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line;
  return text;
}

TEST(FormatDetect, DetectorsRunInTheirOrder) {
  struct Row {
    std::string text;
    int32_t format;
  };
  for (const Row& row : {
           Row{":0400000001020304F2\r\n", kLoadIntelHex},
           Row{"S1070000AABBCCDDEA\r\n", kLoadMotorola},
           Row{"/00000202AABB2A\r\n", kLoadTektronix},
           Row{std::string("xPOFx\0\0\0", 8) + std::string(8, '\xFF'), kLoadPof},
           Row{"plain text", kLoadAutoDetect},
           Row{"", kLoadAutoDetect},
       }) {
    EXPECT_EQ(DetectHexOrPof(row.text), row.format) << row.text;
  }
}

// The first record line decides; lines of text before it (a tool's comment)
// are passed over, as the readers pass them over. A control byte ends the
// search: that is no text file.
TEST(FormatDetect, ShapeOfTheFirstRecordLine) {
  struct Row {
    std::string text;
    int32_t format;
  };
  for (const Row& row : {
           Row{"\r\n:0400000001020304F3\r\n", kLoadIntelHex},  // damaged, still Intel
           Row{":04000000010203", kLoadIntelHex},              // cut off
           Row{"S1070000AABBCCDDEB \r\n", kLoadMotorola},
           Row{"%S1070000AABB\n", kLoadMotorola},
           Row{"/0000", kLoadTektronix},
           Row{":", 0},
           Row{":4", 0},
           Row{"Some text\r\n", 0},
           Row{"S9\r\n", 0},
           Row{"/* a C comment */\n", 0},
           Row{":0400000001020304F2 junk\r\n", 0},
           Row{std::string("\x00\x01\x02", 3), 0},
           Row{"; made by a tool\r\n:0400000001020304F3\r\n", kLoadIntelHex},
           Row{"Some text\r\n\r\nS1070000AABBCCDDEB\r\n", kLoadMotorola},
           Row{"# header\n/0000\n", kLoadTektronix},
           Row{"; made by a tool\r\nplain text\r\n", 0},
           Row{"; made\x01 by a tool\r\n:0400000001020304F3\r\n", 0},
           Row{Repeated("; a comment\r\n", 16) + ":0400000001020304F3\r\n", kLoadIntelHex},
           Row{Repeated("; a comment\r\n", 17) + ":0400000001020304F3\r\n", 0},
       }) {
    EXPECT_EQ(HexFormatByShape(row.text), row.format) << row.text;
  }
}

TEST(PofFile, DataOffsetIsTheFirstRunOfEightFF) {
  std::string text(0x60, '\0');
  text.replace(1, 3, "POF");
  text.replace(0x20, 7, std::string(7, '\xFF'));  // seven are not enough
  text.replace(0x40, 8, std::string(8, '\xFF'));
  EXPECT_EQ(DetectPof(text), 0x40u);

  std::string late = text;
  late.replace(1, 3, "xxx");
  late.replace(8, 3, "POF");  // "POF" must lie within the first 8 bytes
  EXPECT_EQ(DetectPof(late), 0u);
  EXPECT_EQ(DetectPof(text.substr(0, 0x47)), 0u);  // the run cut off by the end
}

TEST(PofFile, MovesTheDeviceSizeWithBitsReversedAndNeverMoreThanTheFileHolds) {
  std::vector<uint8_t> range = {'P', 'O', 'F', 0, 0, 0, 0, 0, 0x01, 0xA0, 0x0F, 0x80, 0xFF};
  std::vector<uint8_t> copy = range;
  EXPECT_EQ(PofToImage(copy, 8, 2), 2u);
  EXPECT_EQ(copy[0], 0x80);
  EXPECT_EQ(copy[1], 0x05);
  // The device is larger than the data the file holds: only the file's bytes.
  copy = range;
  EXPECT_EQ(PofToImage(copy, 8, 0x10000), 5u);
  EXPECT_EQ(std::vector<uint8_t>(copy.begin(), copy.begin() + 5),
            (std::vector<uint8_t>{0x80, 0x05, 0xF0, 0x01, 0xFF}));
  EXPECT_EQ(PofToImage(copy, 99, 4), 0u);
}

TEST(ByteMoves, ExeHeaderAndTheMoveRule) {
  std::vector<uint8_t> exe(1000);
  exe[512] = 0x42;
  auto body = DosExeImage(exe);
  ASSERT_TRUE(body);
  EXPECT_EQ(body->size(), 488u);
  EXPECT_EQ((*body)[0], 0x42);
  EXPECT_FALSE(DosExeImage(std::vector<uint8_t>(511)));
  EXPECT_EQ(DosExeImage(std::vector<uint8_t>(512))->size(), 0u);

  std::vector<uint8_t> bytes = {1, 2, 3, 4};
  EXPECT_FALSE(MoveDataToStart(bytes, 1, 2, false));
  EXPECT_EQ(MoveDataToStart(bytes, 100, 1, false), 3u);  // an end past the bytes is cut
  EXPECT_EQ(bytes, (std::vector<uint8_t>{2, 3, 4, 4}));
}

}  // namespace
}  // namespace quenlet
