// Erase, blank check and protect, the checksum button, the hidden program
// test and the Copy page's step buttons, on the simulated unit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numeric>

#include <unistd.h>

#include "ops_fixture.h"
#include "programmer/device_program.h"
#include "programmer/run_controls.h"
#include "programmer/single_shot_ops.h"
#include "state/operation_messages.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(SingleShot, EraseAndBlankCheckSequences) {
  struct Case {
    const char* name;
    DeviceShape shape;
    bool erase;
    const char* page_words;
  };
  const Case cases[] = {
      {"erase", DeviceShape{.max_address = 0x7FFF}, true, "P 0000 0000 7FFF"},
      // The start address words go into bytes 16-19.
      {"erase from a start address",
       DeviceShape{.max_address = 0x7FFF, .start_address_hi = "2", .start_address_low = 0x1234},
       true, "P 1234 0002 7FFF"},
      // Erase counts both areas: 0xFFFE + 1 fills a page word, so it is 0.
      {"erase of both areas", DeviceShape{.max_address = 0xFFFE, .ext_address = 1}, true,
       "P 0000 0000 0000"},
      {"blank check of the main area", DeviceShape{.max_address = 0xFFFE, .ext_address = 1}, false,
       "P 0000 0000 FFFE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpsFixture f;
    f.Select(c.shape);
    ASSERT_TRUE(c.erase ? erase_1Click(f.ctx, 0) : check_1Click(f.ctx, 0));
    EXPECT_THAT(f.wire.lines, ElementsAre("OUT 47 0B00 0080 0", c.page_words,
                                          c.erase ? "OUT 49 4000 0200 0" : "OUT 49 4000 0400 0",
                                          "IN 42 0000 0000 16"));
    const Step step = c.erase ? Step::Erase : Step::Blank;
    EXPECT_EQ(f.view.Top(step), Layer::p);
    EXPECT_TRUE(f.view.Visible(Indicator::Pass));
    EXPECT_EQ(f.view.ProgressPosition(), 100);
    EXPECT_THAT(f.events, ElementsAre("beep 0"));
  }
}

TEST(SingleShot, EraseClearsTheChipAndBlankCheckFindsWhatIsLeft) {
  OpsFixture f;
  f.Select(DeviceShape{.max_address = 0x7FFF});
  f.FillChip(0x10);
  EXPECT_FALSE(check_1Click(f.ctx, 0));
  EXPECT_THAT(f.Messages(), IsEmpty());  // a status error shows no text here
  EXPECT_EQ(f.FailSounds(), 1);
  EXPECT_EQ(f.view.Top(Step::Blank), Layer::f);
  EXPECT_TRUE(erase_1Click(f.ctx, 0));
  EXPECT_TRUE(check_1Click(f.ctx, 0));
  EXPECT_EQ(f.view.Top(Step::Blank), Layer::p);
}

TEST(SingleShot, SystemErrorAfterEraseIsOneQuietFailure) {
  OpsFixture f;
  f.Select(DeviceShape{});
  f.unit().FailNextOperation(0x00, 0x01);
  EXPECT_FALSE(erase_1Click(f.ctx, 0));
  EXPECT_THAT(f.events, ElementsAre("beep 16"));
  EXPECT_EQ(f.view.Top(Step::Erase), Layer::f);
}

TEST(SingleShot, PassSoundOnlyForASingleStepThatShowsPass) {
  struct Case {
    const char* name;
    int32_t defer;
    uint8_t armed;
    int pass_sounds;
  };
  for (const Case& c : {Case{"single step", 0, 0, 1}, Case{"pass picture deferred", 1, 0, 0},
                        Case{"run sequence", 0, 1, 0}}) {
    SCOPED_TRACE(c.name);
    OpsFixture f;
    f.Select(DeviceShape{});
    f.state.DeferPassImage = c.defer;
    f.state.RunArmed = c.armed;
    ASSERT_TRUE(erase_1Click(f.ctx, 1));
    EXPECT_EQ(f.PassSounds(), c.pass_sounds);
    EXPECT_TRUE(f.view.Visible(Indicator::Pass));  // shown at the end in every case
  }
}

TEST(SingleShot, UserVccReplacesTheDevicesOnly) {
  struct Case {
    const char* name;
    bool erase;
    int32_t user_on;
    int32_t user_vcc;
    unsigned vcc;
  };
  for (const Case& c : {Case{"erase, user erase vcc", true, 1, 61, 61},
                        Case{"erase, user voltages off", true, 0, 61, 10 + kEraseVcc},
                        Case{"erase, override 0 keeps the device's", true, 1, 0, 10 + kEraseVcc},
                        Case{"blank check, user vcc", false, 1, 47, 47}}) {
    SCOPED_TRACE(c.name);
    OpsFixture f;
    f.Select(DeviceShape{});
    f.state.UserVoltageOn = c.user_on;
    (c.erase ? f.state.UserVcc.erase_vcc : f.state.UserVcc.vcc) = c.user_vcc;
    ASSERT_TRUE(c.erase ? erase_1Click(f.ctx, 0) : check_1Click(f.ctx, 0));
    const unsigned first = c.erase ? 10 + kEraseVcc : 10 + kReadVcc;
    ASSERT_EQ(f.wire.voltages.size(), 1u);
    EXPECT_EQ(f.wire.voltages[0], (std::array<unsigned, 3>{c.vcc, first + 1, first + 2}));
  }
}

TEST(SingleShot, ModeTwoShowsTheWorkingPictureWhileTheQueueRuns) {
  OpsFixture f;
  f.Select(DeviceShape{});
  f.view.Show(Step::Erase, Layer::p);
  bool working = false;
  f.pump.on_pump = [&](int) { working = f.view.Top(Step::Erase) == Layer::w; };
  ASSERT_TRUE(erase_1Click(f.ctx, 2));
  EXPECT_TRUE(working);
  EXPECT_EQ(f.view.Top(Step::Erase), Layer::p);
}

TEST(Protect, SequenceAndProtectedChip) {
  OpsFixture f;
  f.Select(DeviceShape{});
  for (size_t i = 0; i < f.state.ProtectBlock.size(); ++i) f.state.ProtectBlock[i] = uint8_t(i);
  ASSERT_TRUE(protect_1Click(f.ctx, 0));
  // Protect writes no page words: the block goes out as reloaded.
  EXPECT_THAT(f.wire.lines, ElementsAre("OUT 47 0B00 0080 0", "P 0000 0000 8000",
                                        "OUT 43 0000 0000 0", "OUT 47 0E00 0100 0", "W 256",
                                        "OUT 49 4000 0700 0", "IN 42 0000 0000 16"));
  const unsigned pv = 10 + kProtectVcc;
  EXPECT_EQ(f.wire.voltages[0], (std::array<unsigned, 3>{pv, pv + 1, pv + 2}));
  EXPECT_TRUE(f.unit().chip().is_protected());
  EXPECT_EQ(f.unit().option_ram(), f.state.ProtectBlock);
  EXPECT_EQ(f.view.Top(Step::Protect), Layer::p);
}

TEST(Protect, OptionBlockFailureIsNamedForOptionDevices) {
  for (uint16_t kind : {0, 1}) {
    OpsFixture f;
    f.Select(DeviceShape{.option_fuse_type = kind});
    f.unit().FailTransferNumber(2);  // the parameter block is transfer 1
    EXPECT_FALSE(protect_1Click(f.ctx, 0));
    if (kind == 1) {
      EXPECT_THAT(f.events,
                  ElementsAre("message " + std::string(op_text::kOptionBlockFail), "beep 16"));
    } else {
      EXPECT_THAT(f.events, ElementsAre("beep 16"));
    }
  }
}

TEST(ChecksumButton, BufferSumOverTheDeviceSize) {
  struct Case {
    const char* name;
    DeviceShape shape;
    size_t bytes;
    uint32_t device_range = 0;  // non-zero: a dialog load asked for IcDeviceSize bytes
  };
  // The device size is max + ext + 1 addresses (doubled for words).
  for (const Case& c :
       {Case{"byte-wide with second area", DeviceShape{.max_address = 0x7FFF, .ext_address = 0xFF},
             0x80FF},
        Case{"word-wide", DeviceShape{.data_width = "0xffff", .max_address = 0x3FFF}, 0x8000},
        Case{"device range after a dialog load", DeviceShape{.max_address = 0x7FFF}, 0x6000,
             0x6000}}) {
    SCOPED_TRACE(c.name);
    OpsFixture f;
    f.Select(c.shape);
    f.FillSource(0x3C);
    if (c.device_range != 0) {
      f.state.ChecksumDeviceRange = 1;
      f.device.IcDeviceSize = c.device_range;
    }
    const std::vector<uint8_t> b = f.Buffer();
    const uint32_t sum = std::accumulate(b.begin(), b.begin() + c.bytes, uint32_t{0});
    ASSERT_TRUE(v_HintClick(f.ctx));
    EXPECT_EQ(f.view.SumText(), strprintf("%08X", sum));
    EXPECT_EQ(f.view.SumTextColour(), SumColour::Red);
    EXPECT_EQ(f.view.Page(), CopyPage::Copy);
    ASSERT_TRUE(v_HintClick(f.ctx));
    EXPECT_EQ(f.view.SumTextColour(), SumColour::WindowText);
    EXPECT_THAT(f.wire.lines, IsEmpty());
  }
}

TEST(ChecksumButton, ProgrammerSumOfTheUploadedBuffer) {
  OpsFixture f;
  f.Select(DeviceShape{.data_width = "0xFFFF", .max_address = 0x7FFF, .option_fuse_type = 1});
  f.FillSource(0x2D);
  ASSERT_TRUE(v_HintClick(f.ctx));
  EXPECT_EQ(f.view.SumText(), strprintf("%08X", f.unit().HeldChecksum()));
  EXPECT_TRUE(f.window.sram_buttons);
  ASSERT_GE(f.wire.lines.size(), 3u);
  EXPECT_THAT(std::vector<std::string>(f.wire.lines.end() - 2, f.wire.lines.end()),
              ElementsAre("OUT 49 4000 0C00 0", "IN 42 0000 0000 16"));
  // The held data is the buffer.
  const std::vector<uint8_t> b = f.Buffer();
  EXPECT_TRUE(std::equal(b.begin(), b.begin() + 0x10000, f.unit().data_ram().begin()));
}

TEST(ChecksumButton, NoProgrammer) {
  OpsFixture f;
  f.Select(DeviceShape{.option_fuse_type = 1});
  f.sim.SetUnitPresent(false);
  EXPECT_FALSE(v_HintClick(f.ctx));
  EXPECT_THAT(f.events, ElementsAre("beep 16", "message not connected"));
  EXPECT_FALSE(f.window.sram_buttons);
}

TEST(ProgramTest, SendsTheFirst2048BufferBytes) {
  OpsFixture f;
  f.Select(DeviceShape{});
  f.FillSource(0x6B);
  ASSERT_TRUE(progClick(f.ctx));
  EXPECT_THAT(f.wire.lines, ElementsAre("OUT 43 0000 0000 0", "OUT 47 0000 0800 0", "W 2048",
                                        "OUT 49 4000 0200 0", "IN 42 0000 0000 16"));
  EXPECT_THAT(f.pump.sleeps, ElementsAre(10));
  const std::vector<uint8_t> b = f.Buffer();
  EXPECT_EQ(f.unit().program_test_data(), std::vector<uint8_t>(b.begin(), b.begin() + 2048));
  EXPECT_EQ(f.view.Top(Step::Program), Layer::p);

  // A refused 0x43 ends it there, as a failure.
  OpsFixture failing;
  failing.Select(DeviceShape{});
  failing.unit().FailRequest(0x43);
  EXPECT_FALSE(progClick(failing.ctx));
  EXPECT_THAT(failing.wire.lines, ElementsAre("OUT 43 0000 0000 0 fail"));
  EXPECT_EQ(failing.view.Top(Step::Program), Layer::f);
}

class StepButtonsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("quenlet-ops-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    f.state.HistoryIniFile = (dir_ / "History_1.ini").string();
    f.Select(DeviceShape{});
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Manufacturer(const std::string& name) {
    std::ofstream(f.state.HistoryIniFile) << "[SelectDlg]\r\nManufacturer=" << name << "\r\n";
  }

  std::filesystem::path dir_;
  OpsFixture f;
};

TEST_F(StepButtonsTest, StepWordsDecidePicturesAndBoxes) {
  Manufacturer("AMD");
  f.device.Block.SetWord(DeviceParameterBlock::kBlankMode, 0);
  f.view.TickBox(RunBox::CheckBox2, true);
  f.view.TickBox(RunBox::CheckBox5, false);
  f.view.Show(Indicator::Pass);  // left by an earlier device's pass
  RefreshStepButtons(f.ctx, 0);
  // Set up for the device, with no result claimed for it.
  EXPECT_FALSE(f.view.Visible(Indicator::Pass));
  EXPECT_FALSE(f.view.Visible(Indicator::Wait));
  EXPECT_EQ(f.pump.pumps, 1);
  // A step the device lacks: hidden, its box disabled and unticked.
  EXPECT_FALSE(f.view.Top(Step::Blank).has_value());
  EXPECT_FALSE(f.view.BoxEnabled(RunBox::CheckBox2));
  EXPECT_FALSE(f.view.BoxTicked(RunBox::CheckBox2));
  // A step it has: shown and ticked, except protect, which keeps its tick.
  EXPECT_EQ(f.view.Top(Step::Erase), Layer::n);
  EXPECT_TRUE(f.view.BoxTicked(RunBox::CheckBox1));
  EXPECT_TRUE(f.view.BoxEnabled(RunBox::CheckBox5));
  EXPECT_FALSE(f.view.BoxTicked(RunBox::CheckBox5));
  EXPECT_TRUE(f.view.Visible(Step::Confirm, Layer::n));

  // Mode 2 keeps every tick.
  f.view.TickBox(RunBox::CheckBox1, false);
  RefreshStepButtons(f.ctx, 2);
  EXPECT_FALSE(f.view.BoxTicked(RunBox::CheckBox1));
}

TEST_F(StepButtonsTest, NothingChangesBeforeTheFirstDevice) {
  // "First Setup", "None" and a history that names no manufacturer at all
  // (a fresh machine) all mean that no device was chosen yet.
  for (const char* stored : {"First Setup", "None", ""}) {
    SCOPED_TRACE(stored);
    if (*stored) {
      Manufacturer(stored);
    } else {
      std::filesystem::remove(f.state.HistoryIniFile);
    }
    f.device.Block.SetWord(DeviceParameterBlock::kEraseMode, 0);
    f.view.Show(Step::Erase, Layer::n);
    f.view.TickBox(RunBox::CheckBox1, true);
    RefreshStepButtons(f.ctx, 0);
    EXPECT_TRUE(f.view.Visible(Step::Erase, Layer::n));
    EXPECT_TRUE(f.view.BoxTicked(RunBox::CheckBox1));
    EXPECT_FALSE(f.view.Visible(Indicator::Pass));
  }
}

}  // namespace
}  // namespace quenlet::testing
