// The option block into temp.ini and the parameter grid.
#include "device/option_block.h"

#include <gtest/gtest.h>

#include <string>

#include "device/option_page_file.h"
#include "device/parameter_grid.h"
#include "device/selected_device.h"
#include "platform/ini_file.h"
#include "platform/ini_snapshot.h"
#include "platform/strprintf.h"
#include "state/main_form_state.h"
#include "support/fakes.h"
#include "support/option_pages_fixture.h"
#include "support/temp_dir.h"

namespace quenlet::testing {
namespace {

class OptionUnpackTest : public TempDirTest {
 protected:
  std::string Store(const OptionBlock& block, const std::string& page_file) {
    EXPECT_TRUE(StoreOptionBlock(block, page_file, Path("temp.ini")));
    return ReadFile(Path("temp.ini"));
  }
  std::string Value(const std::string& key) {
    return IniFile(Path("temp.ini")).ReadString(kOptionValueSection, key, "<none>");
  }
  // A page file of one page with these component lines.
  std::string Pages(int components, const std::string& lines) {
    WriteFile(Path("menu.ini"),
              strprintf("[CurrentUserPage_0]\nComponentTotal=%d\n", components) + lines);
    return Path("menu.ini");
  }
};

// Walk order: pages, then components; a text value takes one word per
// character, everything else one word.
TEST_F(OptionUnpackTest, ValuesInWalkOrder) {
  Store(OptionWords({1, 2, 300, 0xFFFF, 0xBEEF, 'A', 0x1242, 'C', 7, 8}),
        QUENLET_FIXTURES "/options/pages.ini");
  EXPECT_EQ(Value("Page0Com0Set"), "1");
  EXPECT_EQ(Value("Page0Com1Set"), "2");
  EXPECT_EQ(Value("Page0Com2Set"), "300");
  EXPECT_EQ(Value("Page0Com3Set"), "65535");  // as the unit sent it
  EXPECT_EQ(Value("Page1Com0Set"), "48879");  // hex edits are stored in decimal too
  EXPECT_EQ(Value("Page1Com1Set"), "ABC");    // low bytes only
  EXPECT_EQ(Value("Page1Com2Set"), "7");      // no ComponentType: still one word
  EXPECT_EQ(Value("Page1Com3Set"), "8");
}

TEST_F(OptionUnpackTest, TextFromTheUnitStaysOneValue) {
  struct Case {
    std::initializer_list<uint16_t> words;
    const char* stored;
  };
  for (const Case& c : {
           Case{{'A', 0, 'B', 'C'}, "A"},                         // cut at the first NUL
           Case{{'A', '\r', '\n', '[', 'E', ']'}, "A  [E]"},      // line breaks become blanks
           Case{{' ', 'x', 0x7F, '\t', 0xB8, ' '}, " x  \xB8 "},  // blanks at the ends kept
       }) {
    const std::string pages = Pages(2,
                                    "ComponentType0=2\nValueType0=6\nLength0=6\n"
                                    "ComponentType1=0\n");
    OptionBlock block = OptionWords(c.words);
    block[12] = 9;  // component 1 after the six characters
    const std::string text = Store(block, pages);
    EXPECT_EQ(Value("Page0Com0Set"), c.stored);
    EXPECT_EQ(Value("Page0Com1Set"), "9");
    EXPECT_EQ(IniSnapshot(Path("temp.ini")).ReadSections(),
              std::vector<std::string>{"CurrentUserPageSetup"});
  }
}

// The block holds 128 words: a component that does not fit in it is left
// out, with everything after it.
TEST_F(OptionUnpackTest, StopsAtTheEndOfTheBlock) {
  std::string lines;
  for (int c = 0; c < 127; ++c) lines += strprintf("ComponentType%d=0\n", c);
  OptionBlock block{};
  block[2 * 126] = 0x26;
  block[255] = 0x5A;

  // 127 words and one of three characters: the text does not fit.
  const std::string pages = Pages(128, lines + "ComponentType127=2\nValueType127=6\nLength127=3\n");
  OptionUnpack unpack = UnpackOptionBlock(block, ReadOptionPageSet(IniSnapshot(pages)));
  EXPECT_TRUE(unpack.cut);
  EXPECT_EQ(unpack.words, 127u);
  EXPECT_EQ(unpack.values.size(), 127u);

  // A second page after the cut writes nothing either.
  WriteFile(pages, ReadFile(pages) +
                       "[CurrentUserPage]\nTotal=2\n"
                       "[CurrentUserPage_1]\nComponentTotal=1\n");
  Store(block, pages);
  EXPECT_EQ(Value("Page0Com126Set"), "38");
  EXPECT_EQ(Value("Page0Com127Set"), "<none>");
  EXPECT_EQ(Value("Page1Com0Set"), "<none>");

  // Exactly 128 words fit: the last word is read from bytes 254 and 255.
  WriteFile(pages, strprintf("[CurrentUserPage_0]\nComponentTotal=128\n%s"
                             "ComponentType127=2\nValueType127=0\n",
                             lines.c_str()));
  unpack = UnpackOptionBlock(block, ReadOptionPageSet(IniSnapshot(pages)));
  EXPECT_FALSE(unpack.cut);
  EXPECT_EQ(unpack.words, 128u);
  Store(block, pages);
  EXPECT_EQ(Value("Page0Com127Set"), "23040");
}

// The sample library's option device: a check box, a radio group and an
// explanation box, then a decimal, a hexadecimal and an 8-character text edit.
TEST_F(OptionUnpackTest, SampleLibraryPages) {
  const OptionUnpack unpack = UnpackOptionBlock(
      OptionWords({1, 3, 0, 150, 0x1234, 'Q', 'D', 'O', '-', '0', '0', '8', 0, 0x77}),
      ReadOptionPageSet(IniSnapshot(QUENLET_LIBRARY "/MENU/QDO-008.INI")));
  EXPECT_EQ(unpack.words, 13u);
  ASSERT_TRUE(IniFile(Path("temp.ini")).Write(unpack.values));
  EXPECT_EQ(Value("Page0Com0Set"), "1");
  EXPECT_EQ(Value("Page0Com1Set"), "3");
  EXPECT_EQ(Value("Page1Com0Set"), "150");
  EXPECT_EQ(Value("Page1Com1Set"), "4660");
  EXPECT_EQ(Value("Page1Com2Set"), "QDO-008");  // eight words, the last one NUL
}

TEST_F(OptionUnpackTest, NoPageFileWritesNothing) {
  EXPECT_TRUE(StoreOptionBlock(OptionWords({1, 2}), Path("none.ini"), Path("temp.ini")));
  EXPECT_FALSE(std::filesystem::exists(Path("temp.ini")));
}

TEST(OptionBlock, ErasedWordsBecomeZero) {
  OptionBlock block = OptionWords({0xFFFF, 0x00FF, 0xFF00, 0xFFFF});
  block[255] = block[254] = 0xFF;
  ClearErasedOptionWords(block);
  EXPECT_EQ(block, [] {
    OptionBlock b = OptionWords({0, 0x00FF, 0xFF00, 0});
    return b;
  }());
}

TEST(ParameterGrid, RowsFromTheDeviceParameters) {
  SelectedDevice device;
  device.OperationVoltages[kReadVcc] = 50;
  device.OperationVoltages[kProgramVcc] = 33;
  device.OperationVoltages[kIdVpp] = 120;
  device.OperationVoltages[kProgramVpp] = 125;
  device.OperationVoltages[kEraseVpp] = 210;
  device.program_pulse = 20;
  device.erase_pulse = 7000;
  device.program_times = 1;
  device.program_retry = 25;
  MainFormState state;
  LoadDeviceParamFields(state, device);
  EXPECT_EQ(state.ParamGridValues,
            (std::array<int32_t, 9>{50, 33, 120, 125, 210, 20, 7000, 1, 25}));

  const std::vector<ParameterGridRow> rows = ParameterGridRows(state.ParamGridValues, device);
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[0], (ParameterGridRow{"                                       Description",
                                       " Symbol", "  Min", " Value", "  Max", " Units"}));
  EXPECT_EQ(rows[1], (ParameterGridRow{"  Supply voltage during read", "    Vcc", "2.5", "5", "7",
                                       "    V"}));
  EXPECT_EQ(rows[2][3], "3.3");
  EXPECT_EQ(rows[2][4], "5");  // program Vcc not above 4 V
  EXPECT_EQ((std::array{rows[3][3], rows[3][4]}), (std::array<std::string, 2>{"12.5", "13.9"}));
  EXPECT_EQ((std::array{rows[4][3], rows[4][4]}), (std::array<std::string, 2>{"21", "25"}));
  EXPECT_EQ(rows[5],
            (ParameterGridRow{"  Program Pulse width", "    tpw", "1", "20", "200", "    "}));
  EXPECT_EQ(rows[6][4], "65535");
  EXPECT_EQ(rows[8], (ParameterGridRow{"  Maximum program Retry number", "     X", "1", "25", "100",
                                       "    t"}));

  state.ParamGridValues[3] = 100;  // 12 V: below the cap
  EXPECT_EQ(ParameterGridRows(state.ParamGridValues, device)[3][4], "12");
}

}  // namespace
}  // namespace quenlet::testing
