// The page-description file: its keys and defaults, the bounds on what it
// counts, and the input rules of the value edits.
#include "device/option_page_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/option_value_rules.h"
#include "platform/ini_snapshot.h"
#include "platform/strprintf.h"
#include "support/temp_dir.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;

OptionPageSet Read(const std::string& path) {
  return ReadOptionPageSet(IniSnapshot(path));
}

TEST(OptionPageFile, ReadsEveryKindWithItsKeys) {
  const OptionPageSet set = Read(QUENLET_FIXTURES "/options/pages.ini");
  EXPECT_EQ(set.caption, "Test Options");
  ASSERT_EQ(set.pages.size(), 2u);
  EXPECT_EQ(set.pages[0].caption, "Flags");
  EXPECT_EQ(set.pages[1].caption, "Page1");  // "None" names the page by its number

  const auto& p0 = set.pages[0].components;
  ASSERT_EQ(p0.size(), 4u);
  EXPECT_EQ(p0[0].kind(), kOptionCheckBox);
  EXPECT_EQ(p0[0].caption, "Secure");
  EXPECT_EQ(p0[0].file_default, 1);
  EXPECT_EQ(p0[1].kind(), kOptionRadioGroup);
  EXPECT_EQ(p0[1].radio_columns, 2);
  EXPECT_THAT(p0[1].radio_items, ElementsAre("Off", "Low", "Mid", "High", "Max"));
  EXPECT_EQ((std::array{p0[1].left, p0[1].top, p0[1].width, p0[1].height}),
            (std::array{12, 36, 240, 96}));
  EXPECT_EQ(p0[1].file_default, 3);
  EXPECT_EQ(p0[2].kind(), kOptionValueEdit);
  EXPECT_EQ(p0[2].value_max, 255u);  // the type's default
  EXPECT_THAT(p0[3].explanation,
              ElementsAre("Secure: reads give FFh.", "Mode: the programming speed."));

  const auto& p1 = set.pages[1].components;
  ASSERT_EQ(p1.size(), 4u);
  EXPECT_EQ(p1[0].value_max, 65535u);
  EXPECT_TRUE(p1[1].IsTextValue());
  EXPECT_EQ(p1[1].BlockWords(), 3u);
  // Missing kind and type: no control when building, one word when unpacking.
  EXPECT_EQ(p1[2].kind(), -1);
  EXPECT_EQ(p1[2].value_type(), -1);
  EXPECT_EQ(p1[2].BlockWords(), 1u);
  EXPECT_EQ(p1[3].kind(), 9);
  EXPECT_EQ(p1[3].BlockWords(), 1u);
  // Keys the file leaves out.
  EXPECT_EQ(p1[3].caption, "NONE");
  EXPECT_EQ((std::array{p1[3].left, p1[3].top, p1[3].width, p1[3].height}),
            (std::array{1, 1, 1, 1}));
}

TEST(OptionPageFile, MissingFileGivesOneEmptyPage) {
  const OptionPageSet set = Read("/nonexistent/menu.ini");
  EXPECT_EQ(set.caption, "None");
  ASSERT_EQ(set.pages.size(), 1u);
  EXPECT_EQ(set.pages[0].caption, "Page0");
  EXPECT_TRUE(set.pages[0].components.empty());
}

class OptionPageBounds : public TempDirTest {};

// Counts and sizes from a damaged or hostile file stay within what the
// option block and the window can carry.
TEST_F(OptionPageBounds, HostileCountsAreBounded) {
  WriteFile(Path("menu.ini"),
            "[CurrentUserPage]\nTotal=2000000000\n"
            "[CurrentUserPage_0]\nComponentTotal=2000000000\n"
            "ComponentType0=1\nRadio0Total=2000000000\nRadio0Columns=0\n"
            "ComponentType1=1\nRadio1Total=-5\nRadio1Columns=99\n"
            "ComponentType2=3\nExplation2Total=2000000000\n"
            "ComponentType3=2\nValueType3=2\nValueMax3=-1\nLength3=-4\n"
            "[CurrentUserPage_1]\nComponentTotal=-5\n");
  const OptionPageSet set = Read(Path("menu.ini"));
  ASSERT_EQ(set.pages.size(), size_t{kMaxOptionPages});
  const auto& c = set.pages[0].components;
  ASSERT_EQ(c.size(), size_t{kMaxOptionComponents});
  EXPECT_TRUE(set.pages[1].components.empty());
  EXPECT_EQ(c[0].radio_items.size(), size_t{kMaxRadioItems});
  EXPECT_EQ(c[0].radio_columns, 1);
  EXPECT_TRUE(c[1].radio_items.empty());
  EXPECT_EQ(c[1].radio_columns, kMaxRadioColumns);
  EXPECT_EQ(c[2].explanation.size(), size_t{kMaxExplanationLines});
  EXPECT_EQ(c[2].explanation[0], "None");
  EXPECT_EQ(c[3].value_max, 0xFFFFFFFFu);
  EXPECT_EQ(FormatValueMax(c[3].value_type(), c[3].value_max), "4294967295");
  EXPECT_EQ(c[3].length, 0);
}

// Four pages of 128 explanation boxes of 1024 lines each, every count within
// its own bound: the whole set stops at 128 components and 4096 lines.
TEST_F(OptionPageBounds, TheWholeSetIsBoundedAndSaysSo) {
  std::string text = "[CurrentUserPage]\nTotal=4\n";
  for (int p = 0; p < 4; ++p) {
    text += strprintf("[CurrentUserPage_%d]\nComponentTotal=128\n", p);
    for (int c = 0; c < 128; ++c) {
      text += strprintf("ComponentType%d=3\nExplation%dTotal=1024\n", c, c);
    }
  }
  WriteFile(Path("menu.ini"), text);
  const OptionPageSet set = Read(Path("menu.ini"));
  EXPECT_TRUE(set.cut);
  ASSERT_EQ(set.pages.size(), 4u);
  size_t components = 0;
  size_t lines = 0;
  for (const OptionPage& page : set.pages) {
    components += page.components.size();
    for (const OptionComponent& c : page.components) lines += c.explanation.size();
  }
  EXPECT_EQ(components, size_t{kMaxOptionComponents});
  EXPECT_EQ(lines, size_t{kMaxOptionExplanationLines});
  EXPECT_EQ(set.pages[0].components[3].explanation.size(), size_t{kMaxExplanationLines});
  EXPECT_TRUE(set.pages[0].components[4].explanation.empty());

  // Within every bound: nothing is cut.
  WriteFile(Path("menu.ini"),
            "[CurrentUserPage_0]\nComponentTotal=1\nComponentType0=3\n"
            "Explation0Total=2\n");
  EXPECT_FALSE(Read(Path("menu.ini")).cut);
}

// Places and sizes lie within the window, and texts within 2047 bytes.
TEST_F(OptionPageBounds, PlacesSizesAndTextsAreBounded) {
  WriteFile(Path("menu.ini"),
            "[CurrentUserPage]\nCaption=" + std::string(3000, 'c') +
                "\n[CurrentUserPage_0]\nComponentTotal=2\n"
                "ComponentType0=2\nValueType0=0\nLeft0=2147483647\nTop0=-2147483648\n"
                "Width0=99999\nHeight0=-1\nComponentCaption0=" +
                std::string(2046, 'a') + "\xE5\xAD\x97" +
                "\nComponentType1=1\nLeft1=533\nTop1=365\nWidth1=534\nHeight1=366\n");
  const OptionPageSet set = Read(Path("menu.ini"));
  EXPECT_FALSE(set.cut);
  EXPECT_EQ(set.caption, std::string(kMaxOptionText, 'c'));
  const auto& c = set.pages[0].components;
  EXPECT_EQ((std::array{c[0].left, c[0].top, c[0].width, c[0].height}),
            (std::array{kOptionWindowWidth, 0, kOptionWindowWidth, 0}));
  EXPECT_EQ((std::array{c[1].left, c[1].top, c[1].width, c[1].height}),
            (std::array{533, 365, 534, 366}));
  // Cut before the character that does not fit whole.
  EXPECT_EQ(c[0].caption, std::string(2046, 'a'));
}

TEST_F(OptionPageBounds, KindThatIsNoNumberCountsAsMissing) {
  WriteFile(Path("menu.ini"),
            "[CurrentUserPage_0]\nComponentTotal=1\nComponentType0=two\nValueType0=0x6\n");
  const OptionComponent c = Read(Path("menu.ini")).pages[0].components[0];
  EXPECT_FALSE(c.kind_key.has_value());
  EXPECT_EQ(c.value_type(), 6);
  EXPECT_EQ(c.BlockWords(), 1u);  // kind 0 when unpacking: one word
}

// Keys typed one by one into an empty edit, each through the key filter and
// then the limit rule, as the edit runs them.
std::string Type(int32_t value_type, uint32_t value_max, const std::string& keys) {
  std::string text;
  for (char key : keys) {
    const char c = FilterValueKey(value_type, key);
    if (c == 0) continue;
    text = ClampValueText(value_type, value_max, text + c);
  }
  return text;
}

TEST(OptionValueRules, TypingIntoValueEdits) {
  struct Case {
    int32_t value_type;
    uint32_t value_max;
    const char* keys;
    const char* shown;
  };
  for (const Case& c : {
           Case{0, 255, "999", "255"},
           Case{0, 255, "0255", "025"},
           Case{0, 255, "1a2-", "12"},  // letters and signs are refused
           Case{1, 65535, "65536", "65535"},
           Case{2, 16777215, "16777215", "16777215"},
           Case{2, 16777215, "99999999", "16777215"},
           Case{2, 0xFFFFFFFF, "99999999", "99999999"},  // a limit past the digits
           Case{3, 255, "a", "A"},
           Case{3, 255, "1FF", "1F"},  // 1FF: FF, then cut back to the two typed
           Case{3, 255, "xg1", "1"},
           Case{4, 0x1000, "fff", "FFF"},
           Case{4, 0x1000, "1001", "1000"},
           Case{5, 16777215, "FFFFFFF", "FFFFFF"},
           Case{6, 0, "Any text 1!", "Any text 1!"},
           Case{-1, 0, "free", "free"},
       }) {
    SCOPED_TRACE(std::string(c.keys) + " as type " + std::to_string(c.value_type));
    EXPECT_EQ(Type(c.value_type, c.value_max, c.keys), c.shown);
  }
}

TEST(OptionValueRules, ReplacedTextIsStable) {
  // A whole text at once (a program's setText) ends as the rule's fixed point.
  EXPECT_EQ(ClampValueText(3, 0xFF, "1FF"), "1F");
  EXPECT_EQ(ClampValueText(0, 0x1FFFF, "99999"), "999");
  EXPECT_EQ(ClampValueText(0, 7, std::string(1000, '9')), "7");
  EXPECT_EQ(FilterValueKey(0, '\b'), '\b');
  EXPECT_EQ(FilterValueKey(3, '\b'), '\b');
}

TEST(OptionValueRules, LabelsAndShownValues) {
  EXPECT_STREQ(ValueTypeSuffix(2), " [DEC] : ");
  EXPECT_STREQ(ValueTypeSuffix(5), " [HEX] : ");
  EXPECT_STREQ(ValueTypeSuffix(6), " [CHAR] : ");
  EXPECT_STREQ(ValueTypeSuffix(7), "");
  EXPECT_EQ(FormatOptionValue(1, 65535), "65535");
  EXPECT_EQ(FormatOptionValue(4, 48879), "BEEF");
  EXPECT_EQ(FormatOptionValue(4, -1), "FFFFFFFF");
}

}  // namespace
}  // namespace quenlet::testing
