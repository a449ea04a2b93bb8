// The hardware window's information labels and sound settings, and the main
// window's pin-contact scan, on the simulated unit.
#include "programmer/hardware_info.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ini_file.h"
#include "programmer/hardware_fixture.h"
#include "programmer/sound_options.h"
#include "programmer/status_checks.h"

namespace quenlet::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class HardwareInfo : public ::testing::Test, public HardwareFixture {};

TEST_F(HardwareInfo, LabelsFromTheIdentificationReply) {
  HardwareInfoLabels labels;
  window.sram_buttons = false;
  ShowHardwareInfo(link, labels);
  EXPECT_EQ(labels.type, "2005");
  EXPECT_EQ(labels.serial, "2K1234567");
  EXPECT_EQ(labels.version, "V1.2");
  EXPECT_EQ(labels.name, "VARNEK-TX ");
  EXPECT_EQ(labels.state, "OK");
  EXPECT_TRUE(window.sram_buttons);

  // State bytes 01 00; a model name a NUL ends early.
  unit().identification().bytes[20] = 0x01;
  unit().identification().bytes[16] = 0;
  ShowHardwareInfo(link, labels);
  EXPECT_EQ(labels.state, "Fail");
  EXPECT_EQ(labels.name, "VARNEK");
}

TEST_F(HardwareInfo, WithoutUnitNotAvailableAndAFailedReplyChangesNothing) {
  HardwareInfoLabels labels;
  unit().FailRequest(0x41);
  ShowHardwareInfo(link, labels);
  EXPECT_EQ(labels.name, " Not Available");  // as before
  EXPECT_TRUE(window.sram_buttons);          // the unit answered the reconnect

  sim.SetUnitPresent(false);
  ShowHardwareInfo(link, labels);
  for (const std::string& label :
       {labels.name, labels.type, labels.serial, labels.version, labels.state}) {
    EXPECT_EQ(label, "Not Available");
  }
  EXPECT_FALSE(window.sram_buttons);
}

TEST_F(HardwareInfo, PinScanOfTheCurrentDevice) {
  ClearRecords();
  EXPECT_EQ(Pin_scanClick(link), kPinsAsExpected);
  const auto lines = unit().log().TransferLines();
  EXPECT_THAT(lines, Contains("OUT 4A A000 000F 0"));
  EXPECT_THAT(lines, Contains("OUT 49 8000 000F 0"));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "OUT 47 0B00 0080 0"), 2);

  sim.SetUnitPresent(false);
  ClearRecords();
  EXPECT_EQ(Pin_scanClick(link), kPinTransferFailed);
  EXPECT_FALSE(window.sram_buttons);
  EXPECT_EQ(StepFails(), 1);
}

TEST_F(HardwareInfo, ExitKeepsTheSoundSettingsInHistory) {
  struct Case {
    SoundChoices choices;
    const char* sound_setup;
    const char* sound_mode;
  };
  const Case cases[] = {
      {{false, 1, true}, "0", "1"},
      {{true, 0, false}, "1", "0"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(StoreSoundChoices(state, c.choices, messages));
    const IniFile history(state.HistoryIniFile);
    EXPECT_EQ(history.ReadString("Option", "sound_setup", ""), c.sound_setup);
    EXPECT_EQ(history.ReadString("Option", "sound_mode", ""), c.sound_mode);
    EXPECT_EQ(state.SoundOn, c.choices.play_sound ? 1 : 0);
    EXPECT_EQ(state.HotKeyFunction, c.choices.hot_key ? 1 : 0);
    const SoundChoices shown = SoundChoicesFromState(state);
    EXPECT_EQ(shown.play_sound, c.choices.play_sound);
    EXPECT_EQ(shown.hot_key, c.choices.hot_key);
  }
  EXPECT_THAT(Messages(), IsEmpty());

  // A History_1.ini that cannot be replaced is said so.
  state.HistoryIniFile = dir.path() + "no-such-folder/History_1.ini";
  EXPECT_FALSE(StoreSoundChoices(state, {false, 0, false}, messages));
  EXPECT_THAT(Messages(), ElementsAre(state.HistoryIniFile + " cannot be written."));
  EXPECT_EQ(state.SoundOn, 0);
}

}  // namespace
}  // namespace quenlet::testing
