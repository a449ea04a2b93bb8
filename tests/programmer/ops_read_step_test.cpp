// The read step's core: the routine by read_mode, the sum it shows, the fuse
// map, the option-device end, and the confirm step after it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "ops_fixture.h"
#include "programmer/device_compare.h"
#include "programmer/device_read.h"
#include "state/operation_messages.h"

namespace quenlet::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

class RecordingOptionPages : public OptionPageHooks {
 public:
  void StoreUserPageValues() override { calls.push_back("store"); }
  bool ReadUserPageFromDevice() override {
    calls.push_back("read user page");
    return true;
  }
  std::vector<std::string> calls;
};

TEST(ReadStep, RoutineByTheHighByteOfReadMode) {
  struct Case {
    uint16_t read_mode;
    bool reads;
    const char* first_wire_words;
    const char* data_width = "0x00FF";
  };
  for (const Case& c :
       {Case{0x0000, true, "P 0000 0000 8000"}, Case{0x0100, true, "P 0000 0000 8000"},
        // The word routine reads 32 K words: 64 KB.
        Case{0x0400, true, "P 0000 0000 0000", "0xFFFF"}, Case{0x0200, false, nullptr},
        Case{0x0300, false, nullptr}, Case{0x0500, false, nullptr}}) {
    SCOPED_TRACE(c.read_mode);
    OpsFixture f;
    f.Select(
        DeviceShape{.data_width = c.data_width, .max_address = 0x7FFF, .read_mode = c.read_mode});
    f.view.Enable(Control::Run, false);
    EXPECT_EQ(readClick(f.ctx), c.reads);
    EXPECT_TRUE(f.view.Enabled(Control::Run));  // run controls enabled either way
    EXPECT_TRUE(f.view.BoxEnabled(RunBox::check_confirm));
    if (c.reads) {
      ASSERT_GE(f.wire.lines.size(), 2u);
      EXPECT_EQ(f.wire.lines[1], c.first_wire_words);
      EXPECT_EQ(f.record.ReadDataValid, 1);
    } else {
      EXPECT_THAT(f.wire.lines, IsEmpty());
      EXPECT_THAT(f.Messages(), ElementsAre(strprintf(op_text::kUnknownReadRoutineFormat,
                                                      unsigned{c.read_mode})));
      EXPECT_EQ(f.view.Top(Step::Read), Layer::f);
      EXPECT_EQ(f.record.ReadDataValid, 0);
    }
  }
}

// The sum shown is that of the bytes this read brought in.
TEST(ReadStep, SumOfTheDataRead) {
  struct Case {
    const char* name;
    DeviceShape shape;
    uint8_t chip_fill;
  };
  for (const Case& c :
       {Case{"plain", DeviceShape{.max_address = 0x7FFF}, 0x01},
        Case{"lanes", DeviceShape{.max_address = 0x7FFF, .lane_code = 2}, 0x02},
        // All zero through lanes: the sum is 0, not the sum of other lanes.
        Case{"lanes of zeros", DeviceShape{.max_address = 0x7FFF, .lane_code = 3}, 0x00},
        // Both areas, the second area's last byte included.
        Case{"with second area", DeviceShape{.max_address = 0x7FFF, .ext_address = 0xFF}, 0x03},
        Case{"lanes with second area",
             DeviceShape{.max_address = 0x7FFF, .ext_address = 0xFF, .lane_code = 5}, 0x04}}) {
    SCOPED_TRACE(c.name);
    OpsFixture f;
    f.Select(c.shape);
    f.FillSource(0x99);
    if (c.chip_fill == 0) {
      std::fill(f.Chip().begin(), f.Chip().end(), 0);
    } else {
      f.FillChip(c.chip_fill);
    }
    const auto& main = f.Chip(ChipArea::Main);
    const auto& second = f.Chip(ChipArea::Second);
    const uint32_t sum = std::accumulate(main.begin(), main.end(), uint32_t{0}) +
                         std::accumulate(second.begin(), second.end(), uint32_t{0});
    ASSERT_TRUE(readClick(f.ctx));
    EXPECT_EQ(f.view.SumText(), strprintf("%08X", sum));
  }
}

TEST(ReadStep, WordReadAfterALaneReadShowsItsOwnSum) {
  OpsFixture f;
  f.Select(DeviceShape{.max_address = 0x7FFF, .lane_code = 2});
  f.FillChip(0x05);
  ASSERT_TRUE(readClick(f.ctx));
  ASSERT_NE(f.state.LaneReadSum, 0u);

  f.Select(DeviceShape{.data_width = "0xFFFF", .max_address = 0x3FFF, .read_mode = 0x0400});
  f.FillChip(0x06);
  ASSERT_TRUE(readClick(f.ctx));
  const auto& chip = f.Chip();
  EXPECT_EQ(f.view.SumText(),
            strprintf("%08X", std::accumulate(chip.begin(), chip.end(), uint32_t{0})));
}

// The unit's bytes go into the map by its rule (any non-zero byte is a 1),
// and a verify against the same chip compares by that rule too.
TEST(ReadStep, FuseDeviceReadsIntoTheFuseMap) {
  OpsFixture f;
  f.Select(DeviceShape{.max_address = 5892, .fuse_columns = 44, .fuse_rows = 134});
  f.FillChip(0x07);
  int redraws = 0;
  f.fuse_map.SetChangeHandler([&] { ++redraws; });
  const std::vector<uint8_t> buffer = f.Buffer();
  ASSERT_TRUE(readClick(f.ctx));
  for (size_t n = 0; n < 5892; ++n) ASSERT_EQ(f.fuse_map.Fuse(n), f.Chip()[n] != 0) << n;
  EXPECT_EQ(f.fuse_map.Fuse(5892), FuseMap::kNoFuse);  // the read's extra byte stays out
  EXPECT_EQ(f.Buffer(), buffer);
  EXPECT_EQ(redraws, 1);
  EXPECT_EQ(f.view.SumText(), strprintf("%08X", f.fuse_map.CheckSum()));
  EXPECT_EQ(f.view.SumTextColour(), SumColour::Red);
  ASSERT_TRUE(readClick(f.ctx));
  EXPECT_EQ(f.view.SumTextColour(), SumColour::WindowText);
  EXPECT_TRUE(verify_1Click(f.ctx, 0));
  EXPECT_EQ(f.record.Mismatches, 0u);
}

TEST(ReadStep, OptionDeviceReadsTheOptionBlockAndShowsTheProgrammersSum) {
  OpsFixture f;
  RecordingOptionPages pages;
  f.ctx.option_pages = &pages;
  f.Select(DeviceShape{
      .data_width = "0xFFFF", .max_address = 0x7FFF, .option_fuse_type = 1, .read_mode = 0x0400});
  f.FillChip(0x08);
  for (size_t i = 0; i < 256; ++i) f.unit().chip().options()[i] = uint8_t(255 - i);
  f.state.LastChecksum = 0x1234;
  ASSERT_TRUE(readClick(f.ctx));
  EXPECT_EQ(f.state.InfoBlock, f.unit().chip().options());
  EXPECT_THAT(pages.calls, ElementsAre("store"));
  ASSERT_GE(f.wire.lines.size(), 2u);
  EXPECT_THAT(std::vector<std::string>(f.wire.lines.end() - 2, f.wire.lines.end()),
              ElementsAre("OUT 46 0E00 0100 0", "R 256"));
  // The unit's status after a read carries no sum: 0, which differs from
  // the last one shown.
  EXPECT_EQ(f.view.SumText(), "00000000");
  EXPECT_EQ(f.view.SumTextColour(), SumColour::Red);
  EXPECT_EQ(f.state.LastChecksum, 0);
}

TEST(ReadStep, OptionTypesTwoAndThreePrepareTheUserPage) {
  for (uint16_t kind : {2, 3}) {
    OpsFixture f;
    RecordingOptionPages pages;
    f.ctx.option_pages = &pages;
    f.Select(DeviceShape{.max_address = 0x7FFF, .option_fuse_type = kind});
    ASSERT_TRUE(readClick(f.ctx));
    EXPECT_EQ(f.wire.lines.back(), "OUT 49 4000 0B00 0");  // no status request follows
    EXPECT_THAT(pages.calls, ElementsAre("read user page"));

    // A read that failed asks the unit for no user page.
    OpsFixture failing;
    RecordingOptionPages untouched;
    failing.ctx.option_pages = &untouched;
    failing.Select(DeviceShape{.max_address = 0x7FFF, .option_fuse_type = kind});
    failing.unit().FailRequest(request::kRun);
    EXPECT_FALSE(readClick(failing.ctx));
    EXPECT_THAT(failing.wire.lines, Not(Contains("OUT 49 4000 0B00 0")));
    EXPECT_THAT(untouched.calls, IsEmpty());
  }
}

TEST(ReadStep, NoDeviceRecordNoRead) {
  OpsFixture f;
  f.Select(DeviceShape{});
  f.reload.loads = false;
  EXPECT_FALSE(readClick(f.ctx));
  EXPECT_THAT(f.wire.lines, IsEmpty());
  EXPECT_EQ(f.view.Top(Step::Read), Layer::f);
}

TEST(ConfirmStep, SecondAreaCannotCoverAMainAreaFailure) {
  OpsFixture f;
  f.Select(DeviceShape{.max_address = 0x7FFF, .ext_address = 0xFF});
  f.FillSource(0x0A);
  f.FillChip(0x0B);  // differs from the buffer in the main area
  auto& second = f.Chip(ChipArea::Second);
  const std::vector<uint8_t> b = f.Buffer();
  std::copy(b.begin() + 0x8000, b.begin() + 0x8100, second.begin());  // second area matches
  EXPECT_FALSE(confirm_nClick(f.ctx));
  EXPECT_EQ(f.view.Top(Step::Confirm), Layer::f);
  for (const auto& line : f.wire.lines) EXPECT_NE(line, "OUT 49 4000 0D00 0");
}

TEST(ConfirmStep, BothAreasPass) {
  OpsFixture f;
  f.Select(DeviceShape{.max_address = 0x7FFF, .ext_address = 0xFF});
  f.FillChip(0x0C);
  ASSERT_TRUE(readClick(f.ctx));
  f.ClearRecords();
  EXPECT_TRUE(confirm_nClick(f.ctx));
  EXPECT_EQ(f.view.Top(Step::Confirm), Layer::p);
  EXPECT_EQ(f.FailSounds(), 0);
}

}  // namespace
}  // namespace quenlet::testing
