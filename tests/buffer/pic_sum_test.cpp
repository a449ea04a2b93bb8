// The PIC load path: the checksum over masked program words, the ID and
// configuration words, and the decode of the configuration word.
#include "buffer/pic_sum.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "buffer/data_buffer.h"
#include "platform/ini_file.h"
#include "platform/ini_snapshot.h"
#include "platform/program_paths.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace quenlet::testing {
namespace {

TEST(PicHexValue, HexDigitsUpToTheFirstOther) {
  struct Case {
    const char* text;
    uint32_t value;
  };
  for (const Case& c :
       {Case{"0x3FFF", 0x3FFF}, Case{"3fff", 0x3FFF}, Case{"0X10", 0x10}, Case{"None", 0},
        Case{"12G4", 0x12}, Case{"0x", 0}, Case{"", 0}, Case{"FFFFFFFFFF", 0xFFFFFFFF}}) {
    EXPECT_EQ(PicHexValue(c.text), c.value) << c.text;
  }
}

struct SumCase {
  const char* name;
  PicSumKeys keys;
  std::vector<uint8_t> bytes;
  uint32_t sum;
  uint16_t config_word;
  std::vector<uint8_t> after;  // the buffer afterwards
};

TEST(PicChecksum, SumOfMaskedWords) {
  const std::vector<uint8_t> zeros(8, 0);
  for (const SumCase& c : {
           SumCase{"high bytes masked in place",
                   {.and_bits = 0x3F, .sum_end = 2},
                   {0x00, 0xFF, 0x34, 0x12, 0, 0, 0, 0},
                   0x3F00 + 0x1234,
                   0x3F00,  // the configuration word at 0 is read after the masking
                   {0x00, 0x3F, 0x34, 0x12, 0, 0, 0, 0}},
           SumCase{"whole configuration mask",
                   {.and_bits = 0x3F, .config_and = 0x3FFF, .config_pos = 1, .id_pos = 0},
                   {0, 0, 0xF2, 0x3F, 0, 0, 0, 0},
                   0x3FF2,
                   0x3FF2,
                   {0, 0, 0xF2, 0x3F, 0, 0, 0, 0}},
           SumCase{"low configuration mask",
                   {.and_bits = 0x3F, .config_and = 0x00FF, .config_pos = 1},
                   {0, 0, 0xF2, 0x3F, 0, 0, 0, 0},
                   0xF2,
                   0x3FF2,
                   {0, 0, 0xF2, 0x3F, 0, 0, 0, 0}},
           SumCase{"nothing summed, only the constant and the configuration word",
                   {.and_bits = 0xFF, .config_and = 0xFFFF, .extend_add = 0x3400},
                   {0x11, 0x22, 0xFF, 0xFF, 0, 0, 0, 0},
                   0x2211 + 0x3400,
                   0x2211,
                   {0x11, 0x22, 0xFF, 0xFF, 0, 0, 0, 0}},
           SumCase{"mask -1 counts as FF",
                   {.and_bits = -1, .sum_end = 4, .extend_add = 0xFFFFFFFF},
                   {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                   4 * 0xFFFFu - 1,  // wraps in 32 bits
                   0xFFFF,
                   std::vector<uint8_t>(8, 0xFF)},
       }) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = c.bytes;
    std::string error;
    const std::optional<PicSumResult> r = ComputePicChecksum(bytes, c.keys, error);
    ASSERT_TRUE(r.has_value()) << error;
    EXPECT_EQ(r->sum, c.sum);
    EXPECT_EQ(r->config_word, c.config_word);
    EXPECT_EQ(bytes, c.after);
  }
}

// Refused keys leave the buffer as it was.
TEST(PicChecksum, RefusedKeysTouchNothing) {
  struct Case {
    const char* name;
    PicSumKeys keys;
    const char* error_start;
  };
  const PicSumKeys ok{.and_bits = 0x3F, .sum_end = 4, .config_pos = 3, .id_pos = 0};
  for (const Case& c : {
           Case{"mask below 0F", {.and_bits = 0x0E, .sum_end = 4}, kPicAndBitsError},
           Case{"mask whose low byte is 0", {.and_bits = 0x100, .sum_end = 4}, kPicAndBitsError},
           Case{"summed words past the buffer",
                {.and_bits = 0x3F, .sum_end = 5},
                "PIC_SUM address beyond the buffer!\nSUM_ENDADD=5 needs A bytes"},
           Case{"configuration word past the buffer",
                {.and_bits = 0x3F, .config_pos = 4},
                "PIC_SUM address beyond the buffer!\nCON_POS=4"},
           Case{"configuration word far past the buffer",
                {.and_bits = 0x3F, .config_pos = 0xFFFFFFFF},
                "PIC_SUM address beyond the buffer!\nCON_POS=FFFFFFFF needs 200000000 bytes"},
           Case{"ID words past the buffer",
                {.and_bits = 0x3F, .id_pos = 1},
                "PIC_SUM address beyond the buffer!\nID_POS=1"},
       }) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes(8, 0xFF);
    std::string error;
    EXPECT_FALSE(ComputePicChecksum(bytes, c.keys, error).has_value());
    EXPECT_EQ(error.rfind(c.error_start, 0), 0u) << error;
    EXPECT_EQ(bytes, std::vector<uint8_t>(8, 0xFF));
  }
  std::vector<uint8_t> bytes(8, 0xFF);
  std::string error;
  EXPECT_TRUE(ComputePicChecksum(bytes, ok, error).has_value());  // the last byte is inside
}

// Bits not named carry no role ('-'), or, with fill 'N', read as missing keys.
PicConfigLetters Letters(std::initializer_list<std::pair<int, char>> bits, char fill = '-') {
  PicConfigLetters letters;
  letters.fill(fill);
  for (const auto& [bit, letter] : bits) letters[bit] = letter;
  return letters;
}

TEST(PicDecode, LettersSelectTheOptions) {
  using Field = std::optional<int32_t> PicDecode::*;
  struct Case {
    const char* name;
    PicConfigLetters letters;
    uint16_t word;
    Field field;
    std::optional<int32_t> value;
  };
  const auto& P = &PicDecode::ProtectSelectItem;
  const auto& OSC = &PicDecode::OSCSelect;
  const auto& WD = &PicDecode::WatchDogSelect;
  const auto& PM = &PicDecode::ProcessorMode;
  for (const Case& c : {
           Case{"A bits clear", Letters({{0, 'A'}, {1, 'A'}}), 0xFFFC, P, 0},
           Case{"A bits set", Letters({{0, 'A'}, {1, 'A'}}), 0x0003, P, 1},
           Case{"A bits mixed", Letters({{0, 'A'}, {1, 'A'}}), 0x0001, P, std::nullopt},
           Case{"B and C clear", Letters({{2, 'B'}, {3, 'C'}}), 0x0000, P, 1},
           Case{"B set", Letters({{2, 'B'}, {3, 'C'}}), 0x0004, P, 2},
           Case{"C set", Letters({{2, 'B'}, {3, 'C'}}), 0x0008, P, 3},
           Case{"B and C set", Letters({{2, 'B'}, {3, 'C'}}), 0x000C, P, 0},
           Case{"B without C", Letters({{2, 'B'}}), 0x0000, P, std::nullopt},
           Case{"D clear", Letters({{5, 'D'}, {6, 'E'}}), 0x0040, &PicDecode::PowerUpTimer, 1},
           Case{"E set", Letters({{6, 'E'}}), 0x0040, &PicDecode::PowerUpTimer, 1},
           Case{"E clear", Letters({{6, 'E'}}), 0x0000, &PicDecode::PowerUpTimer, 2},
           Case{"G 11", Letters({{4, 'G'}}), 0x0018, OSC, 6},
           Case{"G 10", Letters({{4, 'G'}, {3, 'G'}}), 0x0010, OSC, 5},
           Case{"H 11", Letters({{1, 'H'}}), 0x0003, OSC, 4},
           Case{"I 00", Letters({{1, 'I'}}), 0x0000, OSC, 7},
           Case{"J set", Letters({{4, 'J'}}), 0x0010, OSC, 5},
           Case{"J clear", Letters({{4, 'J'}}), 0x0000, OSC, 2},
           Case{"K 101", Letters({{2, 'K'}}), 0x0005, OSC, 9},
           Case{"K 011 has no value", Letters({{2, 'K'}}), 0x0003, OSC, std::nullopt},
           Case{"G at bit 0 needs bit -1", Letters({{0, 'G'}}), 0x0001, OSC, std::nullopt},
           Case{"K at bit 1 needs bit -1", Letters({{1, 'K'}}), 0x0003, OSC, std::nullopt},
           Case{"the highest of G to K picks the table", Letters({{6, 'H'}, {4, 'G'}}), 0x0060, OSC,
                4},
           Case{"L set", Letters({{2, 'L'}}), 0x0004, WD, 1},
           Case{"M 01", Letters({{3, 'M'}}), 0x0004, WD, 3},
           Case{"M 10 above an L", Letters({{3, 'M'}, {1, 'L'}}), 0x0008, WD, 4},
           Case{"M at bit 0", Letters({{0, 'M'}}), 0x0001, WD, std::nullopt},
           Case{"PON 111", Letters({{2, 'P'}, {1, 'O'}, {0, 'N'}}), 0x0007, PM, 1},
           Case{"PON 101", Letters({{2, 'P'}, {1, 'O'}, {0, 'N'}}), 0x0005, PM, 2},
           Case{"PON 110", Letters({{2, 'P'}, {1, 'O'}, {0, 'N'}}), 0x0006, PM, 3},
           Case{"PON 000", Letters({{2, 'P'}, {1, 'O'}, {0, 'N'}}), 0x0000, PM, 4},
           Case{"PON 010", Letters({{2, 'P'}, {1, 'O'}, {0, 'N'}}), 0x0002, PM, std::nullopt},
           // Missing keys are N: the highest of them is the N bit.
           Case{"N from missing keys", Letters({{2, 'P'}, {1, 'O'}}, 'N'), 0x8006, PM, 1},
           Case{"Q set", Letters({{9, 'Q'}}), 0x0200, &PicDecode::BrownOutEnable, 2},
           Case{"S clear", Letters({{15, 'S'}}), 0x7FFF, &PicDecode::MCLRE, 1},
       }) {
    SCOPED_TRACE(c.name);
    const PicDecode d = DecodePicConfiguration(c.word, c.letters);
    EXPECT_EQ(d.*c.field, c.value);
    EXPECT_EQ(d.protect_mismatch, std::string(c.name) == "A bits mixed");
  }
}

TEST(PicDecode, NoLettersDecodeNothing) {
  // A device without keys reads every bit as N, and N alone decodes nothing.
  const PicDecode d = DecodePicConfiguration(0xFFFF, Letters({}, 'N'));
  for (auto field : {&PicDecode::ProtectSelectItem, &PicDecode::PowerUpTimer, &PicDecode::OSCSelect,
                     &PicDecode::WatchDogSelect, &PicDecode::ProcessorMode,
                     &PicDecode::BrownOutEnable, &PicDecode::MCLRE}) {
    EXPECT_FALSE((d.*field).has_value());
  }
}

// The hooks over the program's files: the IC INI file's keys, the buffer,
// History_1.ini [PICConfiguration] and Debug.src.
class PicSumHooksTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    paths_ = std::make_unique<ProgramPaths>(dir_.string());
    buffer_.SetHistoryIniPath(Path("History_1.ini"));
    ic_ini_ = Path("pic14.ini");
    std::filesystem::copy_file(QUENLET_FIXTURES "/pic/pic14.ini", ic_ini_);
    const uint8_t image[] = {0x12, 0xFF, 0x01, 0x00, 0xFF, 0x3F, 0x00, 0xC0,  // program
                             0xFF, 0xFF, 0x0F, 0x00, 0xFF, 0x3F, 0x00, 0x00,  // ID words
                             0xB2, 0x3F};                                     // configuration
    std::copy(std::begin(image), std::end(image), buffer_.Bytes().begin());
  }
  std::string Config(const char* key) {
    return IniFile(Path("History_1.ini")).ReadString("PICConfiguration", key, "<none>");
  }

  FakeMessages messages_;
  DataBuffer buffer_;
  std::unique_ptr<ProgramPaths> paths_;
  std::string ic_ini_;
};

TEST_F(PicSumHooksTest, SumIdCodesAndDecodeOfTheDeviceFile) {
  PicSumHooks hooks(*paths_, messages_);
  uint16_t word = 0;
  EXPECT_EQ(hooks.CounterPICcheckSum(buffer_, ic_ini_, 0, word),
            0x3F12u + 1 + 0x3FFF + 0x3FB2 + 0x100);
  EXPECT_EQ(word, 0x3FB2);
  EXPECT_EQ(buffer_.Bytes()[1], 0x3F);
  EXPECT_EQ(buffer_.Bytes()[7], 0x00);
  EXPECT_EQ(
      (std::array{Config("IDCODE1"), Config("IDCODE2"), Config("IDCODE3"), Config("IDCODE4")}),
      (std::array<std::string, 4>{"FFFF", "0F", "3FFF", "00"}));

  hooks.PICConfiguerationDecode(buffer_, ic_ini_, word);
  EXPECT_EQ(Config("ProtectSelectItem"), "1");
  EXPECT_EQ(Config("PowerUpTimer"), "1");
  EXPECT_EQ(Config("OSCSelect"), "5");
  EXPECT_EQ(Config("WatchDogSelect"), "0");
  EXPECT_EQ(Config("BrownOutEnable"), "1");
  EXPECT_EQ(Config("MCLRE"), "2");
  EXPECT_EQ(Config("ProcessorMode"), "<none>");  // no N, O, P letters
  EXPECT_TRUE(messages_.boxes.empty());
  EXPECT_FALSE(std::filesystem::exists(Path("Debug.src")));
}

TEST_F(PicSumHooksTest, ProtectionMismatchIsListedAndLeavesTheItem) {
  IniFile(Path("History_1.ini")).WriteInteger("PICConfiguration", "ProtectSelectItem", 7);
  PicSumHooks hooks(*paths_, messages_);
  hooks.PICConfiguerationDecode(buffer_, ic_ini_, 0x0010);  // one of the two A bits
  EXPECT_EQ(Config("ProtectSelectItem"), "7");
  EXPECT_EQ(Config("MCLRE"), "1");  // the other items are still recorded
  EXPECT_EQ(ReadFile(Path("Debug.src")),
            "[ERROR]\r\n0=Protect : Configueration \xBC\xC6\xAD\xC8\xBB\x50 Ini "
            "\xA4\xA4\xA9\x77\xB8\x71\xA6\xB3\xBB\x7E\xAE\x74\r\nTotal=0\r\n");
}

TEST_F(PicSumHooksTest, RefusedSumShowsWhyAndWritesNothing) {
  struct Case {
    const char* key;
    const char* value;
    const char* message_start;
  };
  for (const Case& c : {Case{"PICANDBIT", "0x0E", "PIC And bits error!"},
                        Case{"CON_POS", "0x2007", "PIC_SUM address beyond the buffer!"},
                        Case{"ID_POS", "0x7FFFFFFF", "PIC_SUM address beyond the buffer!"},
                        Case{"SUM_ENDADD", "0x1001", "PIC_SUM address beyond the buffer!"}}) {
    SCOPED_TRACE(c.key);
    std::filesystem::copy_file(QUENLET_FIXTURES "/pic/pic14.ini", ic_ini_,
                               std::filesystem::copy_options::overwrite_existing);
    IniFile(ic_ini_).WriteString("PIC_SUM", c.key, c.value);
    messages_.boxes.clear();
    const std::vector<uint8_t> before(buffer_.Bytes().begin(), buffer_.Bytes().end());
    PicSumHooks hooks(*paths_, messages_);
    uint16_t word = 0x1234;
    EXPECT_FALSE(hooks.CounterPICcheckSum(buffer_, ic_ini_, 0, word).has_value());
    EXPECT_EQ(word, 0x1234);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), buffer_.Bytes().begin()));
    ASSERT_EQ(messages_.boxes.size(), 1u);
    EXPECT_EQ(messages_.boxes[0].text.rfind(c.message_start, 0), 0u) << messages_.boxes[0].text;
    EXPECT_EQ(messages_.boxes[0].caption, "CounterPICcheckSum()");
    EXPECT_FALSE(std::filesystem::exists(Path("History_1.ini")));
  }
}

// The sample library's PIC-like device: 2K program words, the
// configuration word at word 2007h and the ID words at 2000h, so a buffer
// of the device's 4 KB alone does not hold them.
TEST_F(PicSumHooksTest, SampleLibraryDevice) {
  const std::string qdp = QUENLET_LIBRARY "/INI/QDP-14.ini";
  PicSumHooks hooks(*paths_, messages_);
  uint16_t word = 0;
  ASSERT_TRUE(buffer_.ResizeBuffer(0x1000, messages_));
  EXPECT_FALSE(hooks.CounterPICcheckSum(buffer_, qdp, 0, word).has_value());
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].text,
            "PIC_SUM address beyond the buffer!\nCON_POS=2007 needs 4010 bytes, the buffer holds "
            "1400.");

  // After a hex file with the configuration word: a buffer of 64 KB.
  ASSERT_TRUE(buffer_.ResizeBuffer(0x10000, messages_));
  auto bytes = buffer_.Bytes();
  std::fill(bytes.begin(), bytes.begin() + 0x1000, 0xFF);  // erased program words
  bytes[0] = 0x8A;
  bytes[1] = 0x01;
  for (int i = 0; i < 4; ++i) bytes[0x4000 + 2 * i] = static_cast<uint8_t>(0x0A + i);
  bytes[0x400E] = 0x72;  // configuration 3F72
  bytes[0x400F] = 0x3F;
  const std::optional<uint32_t> sum = hooks.CounterPICcheckSum(buffer_, qdp, 0, word);
  // 2047 erased words of 3FFF, word 0 of 018A, and the configuration word.
  EXPECT_EQ(sum, 2047u * 0x3FFF + 0x018A + 0x3F72);
  EXPECT_EQ(word, 0x3F72);
  EXPECT_EQ(bytes[0xFFF], 0x3F);  // high bytes masked to 14 bits
  EXPECT_EQ(Config("IDCODE4"), "0D");

  hooks.PICConfiguerationDecode(buffer_, qdp, word);
  // 3F72: the A bits (4, 5, 8, 9, 12, 13) all set, G field 10, L 0, D 0, Q 1, S 0.
  EXPECT_EQ(Config("ProtectSelectItem"), "1");
  EXPECT_EQ(Config("OSCSelect"), "5");
  EXPECT_EQ(Config("WatchDogSelect"), "0");
  EXPECT_EQ(Config("PowerUpTimer"), "1");
  EXPECT_EQ(Config("BrownOutEnable"), "2");
  EXPECT_EQ(Config("MCLRE"), "1");
}

}  // namespace
}  // namespace quenlet::testing
