// The catalogue Select.ini: counts, missing names, the order of the lists,
// and the two readers of a part's file.
#include "device/catalogue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/strprintf.h"
#include "platform/text_compare.h"
#include "support/program_dir.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;

TEST(CatalogueCount, HexDigitsClampedToFourDigitKeys) {
  const struct {
    const char* text;
    uint32_t count;
  } cases[] = {
      {"1A", 26},
      {"0x1A", 26},
      {"0X1a", 26},
      {"A", 10},
      {"", 0},
      {"zz", 0},
      {"-5", 0},
      {"12 apples", 0x12},
      {"FFFF", 0xFFFF},
      {"10000", 0xFFFF},
      {"FFFFFFFFFFFFFFFFFFFF", 0xFFFF},
  };
  for (const auto& c : cases) EXPECT_EQ(CatalogueCount(c.text), c.count) << c.text;
}

class CatalogueTest : public ProgramDirTest {};

TEST_F(CatalogueTest, ListsEveryNumberedKeyWithPlaceholdersForMissingOnes) {
  std::string text = "[ITEM]\r\nValue=1A\r\n";
  for (int i = 1; i <= 26; ++i) {
    if (i != 7) text += strprintf("%04X=M%02d\r\n", i, i);  // "0007" is missing
  }
  text += "[M01]\r\nValue=3\r\n0001=P1\r\n0003=P3\r\n";
  Put("select.ini", text);  // any letter case
  const DeviceCatalogue catalogue(Paths());
  const std::vector<std::string> makers = catalogue.Manufacturers();
  ASSERT_EQ(makers.size(), 26u);
  EXPECT_EQ(makers.front(), "0");
  EXPECT_EQ(makers.back(), "M26");  // "001A" was read
  EXPECT_THAT(catalogue.Parts("M01"), ElementsAre("<none>", "P1", "P3"));
  EXPECT_THAT(catalogue.Parts("no such maker"), ElementsAre());
  EXPECT_TRUE(catalogue.ListsPart("M01", "<none>"));
  EXPECT_FALSE(catalogue.ListsManufacturer("m01"));  // names compare exactly
}

TEST_F(CatalogueTest, HugeCountIsBoundedByTheKeys) {
  Put("Select.ini", "[ITEM]\r\nValue=FFFFFFFF\r\n0001=Only\r\n");
  const DeviceCatalogue catalogue(Paths());
  EXPECT_EQ(catalogue.Manufacturers().size(), kMaxCatalogueCount);
}

// The manufacturer look-up answers from an index of the file as last read.
TEST_F(CatalogueTest, ListedManufacturersFollowTheFileAsRead) {
  Put("Select.ini", "[ITEM]\r\nValue=2\r\n0001=Maker A\r\n");
  DeviceCatalogue catalogue(Paths());
  EXPECT_TRUE(catalogue.ListsManufacturer("Maker A"));
  EXPECT_TRUE(catalogue.ListsManufacturer("0"));  // the missing key's name
  EXPECT_FALSE(catalogue.ListsManufacturer("Maker B"));
  EXPECT_FALSE(catalogue.ListsManufacturer("Maker A_IC_Maker A"));
  Put("Select.ini", "[ITEM]\r\nValue=2\r\n0001=Maker A\r\n0002=Maker B_IC_Long\r\n");
  ASSERT_TRUE(catalogue.Refresh());
  EXPECT_TRUE(catalogue.ListsManufacturer("Maker B_IC_Long"));
  EXPECT_FALSE(catalogue.ListsManufacturer("0"));
}

TEST(CatalogueOrder, CaseIgnoredBytesKeptBig5TrailBytesNoLetters) {
  // "\xA4\x41" and "\xA4\x61" are two Big5 characters, not one in two cases.
  std::vector<std::string> names = {"zq-900",   "\xA4\x61", "AQ-010", "aq-2",
                                    "\xA4\x41", "Mq-120",   "aq-010"};
  SortCatalogueNames(names);
  EXPECT_THAT(names,
              ElementsAre("AQ-010", "aq-010", "aq-2", "Mq-120", "zq-900", "\xA4\x41", "\xA4\x61"));
  EXPECT_EQ(NoCaseKey("\xA4\x41X"), "\xA4\x41x");
  EXPECT_EQ(NoCaseKey("\xE5\xAD\x97X"), "\xE5\xAD\x97x");
}

// The preview reads with the private-profile rules, OK with the INI store's:
// a line with blanks around "=" is found by the first only.
TEST_F(CatalogueTest, TwoReadersOfAPartsFile) {
  Put("Select.ini",
      "[ITEM]\r\nValue=1\r\n0001=Maker\r\n[Maker]\r\nValue=2\r\n0001=P1\r\n0002=P2\r\n"
      "P1 = p1.ini\r\nP2=p2.ini\r\n");
  const DeviceCatalogue catalogue(Paths());
  EXPECT_EQ(catalogue.PartFile("Maker", "P1"), "p1.ini");
  EXPECT_EQ(catalogue.PartFile("maker", "p2"), "p2.ini");
  EXPECT_EQ(catalogue.PartFile("Maker", "P3"), "<none>");
  EXPECT_EQ(OkDeviceFile(catalogue.path(), "Maker", "P1"), "<none>");
  EXPECT_EQ(OkDeviceFile(catalogue.path(), "Maker", "P2"), "p2.ini");
  EXPECT_EQ(OkDeviceFile(Path("none.ini"), "Maker", "P2"), "<none>");
}

// Both readers read a section that occurs twice as one, and tell Big5
// names apart that differ in their second byte only.
TEST_F(CatalogueTest, ThePreviewAndOkFindAPartInTheSameSection) {
  Put("Select.ini",
      "[ITEM]\r\nValue=3\r\n0001=Maker\r\n0002=\xA4\x41\r\n0003=\xA4\x61\r\n"
      "[Maker]\r\nValue=2\r\n0001=P1\r\n0002=P2\r\nP1=p1.ini\r\n"
      "[\xA4\x41]\r\nValue=1\r\n0001=Q\r\nQ=q41.ini\r\n"
      "[\xA4\x61]\r\nValue=1\r\n0001=Q\r\nQ=q61.ini\r\n"
      "[MAKER]\r\nP1=late.ini\r\nP2=p2.ini\r\n");
  const DeviceCatalogue catalogue(Paths());
  struct Row {
    const char *maker, *part, *file;
  };
  for (const Row& row : {Row{"Maker", "P1", "p1.ini"}, Row{"Maker", "P2", "p2.ini"},
                         Row{"\xA4\x41", "Q", "q41.ini"}, Row{"\xA4\x61", "Q", "q61.ini"}}) {
    SCOPED_TRACE(row.file);
    EXPECT_EQ(catalogue.PartFile(row.maker, row.part), row.file);
    EXPECT_EQ(OkDeviceFile(catalogue.path(), row.maker, row.part), row.file);
  }
  EXPECT_THAT(catalogue.Parts("\xA4\x61"), ElementsAre("Q"));
}

TEST_F(CatalogueTest, ReadOnceAndAgainOnlyWhenChanged) {
  Put("Select.ini", "[ITEM]\r\nValue=1\r\n0001=A\r\n");
  DeviceCatalogue catalogue(Paths());
  EXPECT_FALSE(catalogue.Refresh());
  EXPECT_THAT(catalogue.Manufacturers(), ElementsAre("A"));
  Put("Select.ini", "[ITEM]\r\nValue=2\r\n0001=A\r\n0002=B\r\n");
  EXPECT_TRUE(catalogue.Refresh());
  EXPECT_THAT(catalogue.Manufacturers(), ElementsAre("A", "B"));
  EXPECT_EQ(catalogue.LoadCount(), 2u);
}

}  // namespace
}  // namespace quenlet::testing
