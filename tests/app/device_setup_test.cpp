// The device dialog's OK on the simulated unit: the Copy page's steps, the
// reconfigured programmer and the sum of the new device.
#include "app/device_setup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "programmer/ops_fixture.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;

class DeviceSetupTest : public ::testing::Test {
 protected:
  void SetUp() override { f.buffer.AttachDevice(&f.device); }
  void Choose(const DeviceShape& shape) { next = shape; }
  // The "loader" puts the chosen device's values in place; the dialog's own
  // fields of the record stay.
  ProgrammerDeviceSetup Commit() {
    return ProgrammerDeviceSetup(f.ctx, [this] {
      ++loads;
      const SelectedDevice before = f.device;
      f.Select(next);
      f.device.DeviceChanged = before.DeviceChanged;
      f.device.KeepIcIniPath = before.KeepIcIniPath;
      f.FillSource(0x4D);
    });
  }
  std::vector<std::string> Tail(size_t n) const {
    const auto& l = f.wire.lines;
    return {l.end() - static_cast<long>(std::min(n, l.size())), l.end()};
  }

  OpsFixture f;
  DeviceShape next;
  int loads = 0;
};

TEST_F(DeviceSetupTest, HeldDataDeviceShowsTheProgrammersSum) {
  Choose(DeviceShape{.data_width = "0xFFFF", .max_address = 0x7FFF, .option_fuse_type = 1});
  f.view.SetSum("OLD");
  Commit().Apply(true);
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(f.view.SumText(), strprintf("%08X", unsigned{f.unit().HeldChecksum()}));
  EXPECT_EQ(f.state.LastChecksum, int32_t{f.unit().HeldChecksum()});
  EXPECT_TRUE(f.window.sram_buttons);
  // Reconfigured first (the parameter block, then the default driver), then
  // the buffer up in its two 64 KB halves and summed inside the programmer.
  EXPECT_EQ(f.wire.lines.front(), "OUT 47 0B00 0080 0");
  EXPECT_THAT(Tail(16),
              ElementsAre("OUT 47 0B00 0080 0", "P 0000 0000 0000", "OUT 43 0000 0000 0",
                          "OUT 4C 8000 8000 0", "W 32768", "OUT 4C 8000 8000 0", "W 32768",
                          "OUT 47 0B00 0080 0", "P 8000 0000 0000", "OUT 43 0000 0000 0",
                          "OUT 4C 8000 8000 0", "W 32768", "OUT 4C 8000 8000 0", "W 32768",
                          "OUT 49 4000 0B00 0", "IN 42 0000 0000 16"));
}

TEST_F(DeviceSetupTest, HeldDataDeviceWithoutUnit) {
  Choose(DeviceShape{.option_fuse_type = 1});
  f.sim.SetUnitPresent(false);
  f.view.SetSum("OLD");
  f.window.sram_buttons = true;
  Commit().Apply(true);
  EXPECT_EQ(f.view.SumText(), "OLD");
  EXPECT_FALSE(f.window.sram_buttons);
  EXPECT_THAT(f.Messages(), ElementsAre("not connected"));
  EXPECT_EQ(f.FailSounds(), 1);
}

// The device range as recorded sums have always used it: exclusive of the
// end without a start address, one byte past the device with one.
TEST_F(DeviceSetupTest, BufferSumOverTheDeviceRange) {
  struct Case {
    const char* name;
    DeviceShape shape;
    size_t first;
    size_t last;  // inclusive
  };
  const Case cases[] = {
      {"from 0", DeviceShape{.max_address = 0x7FFF}, 0, 0x7FFF},
      {"start address 0x100", DeviceShape{.max_address = 0x7FFF, .start_address_low = 0x100}, 0x100,
       0x8000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Choose(c.shape);
    f.state.LastChecksum = 0;
    Commit().Apply(true);
    const std::vector<uint8_t> b = f.Buffer();
    const uint32_t sum = std::accumulate(b.begin() + static_cast<long>(c.first),
                                         b.begin() + static_cast<long>(c.last) + 1, uint32_t{0});
    EXPECT_EQ(f.view.SumText(), strprintf("%08X", sum));
    EXPECT_EQ(f.view.SumTextColour(), SumColour::Red);
    Commit().Apply(false);
    EXPECT_EQ(f.view.SumTextColour(), SumColour::WindowText);
    const auto& l = f.wire.lines;
    EXPECT_EQ(std::count(l.begin(), l.end(), "OUT 49 4000 0B00 0"), 0);
  }
}

TEST_F(DeviceSetupTest, StepsAreOfferedAgainOnlyAfterAnOkThatKeptThePart) {
  Choose(DeviceShape{});
  f.state.UserVoltageOn = 1;
  f.state.SetDataSetMode(2);
  f.device.KeepIcIniPath = 1;
  f.view.Enable(Control::CopyEraseBtn, false);
  Commit().Apply(true);  // the previous OK left DeviceChanged 0
  EXPECT_TRUE(f.view.Enabled(Control::CopyEraseBtn));
  EXPECT_TRUE(f.view.Visible(Step::Blank, Layer::f));
  EXPECT_TRUE(f.view.Visible(Step::Load, Layer::h));
  EXPECT_TRUE(f.view.VisibleByName("Label25"));
  EXPECT_TRUE(f.view.Visible(Indicator::Multi_Hint));
  EXPECT_EQ(f.device.DeviceChanged, 1);
  EXPECT_EQ(f.state.UserVoltageOn, 0);
  EXPECT_EQ(f.state.DataSetMode(), 0);
  EXPECT_EQ(f.device.KeepIcIniPath, 0);

  // The same part again: the previous OK's 1 decides, so the steps stay.
  f.view.Hide(Step::Blank, Layer::f);
  Commit().Apply(false);
  EXPECT_FALSE(f.view.Visible(Step::Blank, Layer::f));
  EXPECT_EQ(f.device.DeviceChanged, 0);
}

}  // namespace
}  // namespace quenlet::testing
