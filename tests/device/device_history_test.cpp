// The ring of recent devices SelIcHst.ini, and how its entries split back
// into manufacturer and part.
#include "device/device_history.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/catalogue.h"
#include "platform/ini_file.h"
#include "support/program_dir.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;

class DeviceHistoryTest : public ProgramDirTest {
 protected:
  std::string Key(const std::string& key) {
    return IniFile(Path("SelIcHst.ini")).ReadString("HISTORY", key, "(missing)");
  }
};

TEST_F(DeviceHistoryTest, RingFillsFromSlotOneAndWraps) {
  const DeviceHistoryRing ring(Paths());
  EXPECT_EQ(ring.Last(), "Null");
  ASSERT_TRUE(ring.Add("M", "P1"));
  EXPECT_EQ(Key("Current"), "1");
  EXPECT_EQ(Key("1"), "M_IC_P1");
  EXPECT_EQ(Key("0"), "(missing)");
  EXPECT_EQ(Key("Last"), "M_IC_P1");
  // Ten more distinct devices: slots 2..9, then 0, then 1 again.
  for (int i = 2; i <= 11; ++i) ASSERT_TRUE(ring.Add("M", "P" + std::to_string(i)));
  EXPECT_EQ(Key("Current"), "1");
  EXPECT_EQ(Key("1"), "M_IC_P11");
  EXPECT_EQ(Key("0"), "M_IC_P10");
  EXPECT_EQ(Key("9"), "M_IC_P9");

  // A device already in a slot changes only Last.
  const std::string before = ReadFile(Path("SelIcHst.ini"));
  ASSERT_TRUE(ring.Add("M", "P5"));
  EXPECT_EQ(Key("Current"), "1");
  EXPECT_EQ(Key("Last"), "M_IC_P5");
  EXPECT_EQ(Key("5"), "M_IC_P5");
  EXPECT_NE(ReadFile(Path("SelIcHst.ini")), before);
}

TEST_F(DeviceHistoryTest, CurrentOutsideTheRingStartsAtSlotZero) {
  for (const char* current : {"-5", "9", "12", "junk"}) {
    Put("SelIcHst.ini", std::string("[HISTORY]\r\nCurrent=") + current + "\r\n");
    ASSERT_TRUE(DeviceHistoryRing(Paths()).Add("M", "P"));
    EXPECT_EQ(Key("Current"), current == std::string("junk") ? "1" : "0") << current;
  }
}

TEST_F(DeviceHistoryTest, LongEntriesAreKeptWhole) {
  const std::string part(400, 'p');
  const DeviceHistoryRing ring(Paths());
  ASSERT_TRUE(ring.Add("M", part));
  EXPECT_EQ(ring.Last(), "M_IC_" + part);
  ASSERT_TRUE(ring.Add("M", part));
  EXPECT_EQ(Key("Current"), "1");  // found again, in full
}

TEST_F(DeviceHistoryTest, ComboListsSlotsInKeyOrderAndLastAsText) {
  Put("SelIcHst.ini", "[HISTORY]\r\n3=C_IC_3\r\n0=A_IC_0\r\n1=Null\r\n");
  HistoryCombo combo = DeviceHistoryRing(Paths()).Combo();
  EXPECT_THAT(combo.items, ElementsAre("A_IC_0", "C_IC_3", "None"));
  EXPECT_EQ(combo.text, "None");
  Put("SelIcHst.ini", "[HISTORY]\r\n3=C_IC_3\r\nLast=Z_IC_9\r\n");
  combo = DeviceHistoryRing(Paths()).Combo();
  EXPECT_THAT(combo.items, ElementsAre("C_IC_3"));
  EXPECT_EQ(combo.text, "Z_IC_9");
}

TEST_F(DeviceHistoryTest, EntriesSplitWhereTheCatalogueListsBothNames) {
  Put("Select.ini",
      "[ITEM]\r\nValue=3\r\n0001=Maker_X\r\n0002=Maker\r\n0003=A_IC_B\r\n"
      "[Maker_X]\r\nValue=1\r\n0001=Part_A\r\n"
      "[Maker]\r\nValue=1\r\n0001=X_IC_Part\r\n"
      "[A_IC_B]\r\nValue=1\r\n0001=C\r\n");
  const DeviceCatalogue catalogue(Paths());
  const struct {
    const char* entry;
    std::optional<DeviceChoice> choice;
  } cases[] = {
      {"Maker_X_IC_Part_A", DeviceChoice{"Maker_X", "Part_A"}},
      {"Maker_IC_X_IC_Part", DeviceChoice{"Maker", "X_IC_Part"}},
      {"A_IC_B_IC_C", DeviceChoice{"A_IC_B", "C"}},
      // Not in the catalogue: at the first "_IC_".
      {"Gone_IC_Part_IC_2", DeviceChoice{"Gone", "Part_IC_2"}},
      {"_IC_", DeviceChoice{"", ""}},
      {"Null", std::nullopt},
      {"None", std::nullopt},
      {"Maker_X", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitHistoryEntry(c.entry, catalogue), c.choice) << c.entry;
}

}  // namespace
}  // namespace quenlet::testing
