// The programmer's sum of the data it holds: the upload, operation 0x0B and
// the status on the wire, the sum and its colour, the option block, and
// every step failing in turn.
#include "programmer/held_data_sum.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ops_fixture.h"
#include "programmer/single_shot_ops.h"
#include "state/operation_messages.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class HeldDataSumTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.Select(DeviceShape{.data_width = "0xFFFF", .max_address = 0x7FFF, .option_fuse_type = 1});
    f.FillSource(0x5D);
    f.state.InfoBlock.fill(0xAA);
    f.view.SetSum("PREVIOUS");
    f.ClearRecords();
  }
  std::string Sum() { return strprintf("%08X", unsigned{f.unit().HeldChecksum()}); }

  OpsFixture f;
};

// A word-wide device of 32 K words: two 64 KB halves.
std::vector<std::string> UploadHalf(const char* words) {
  return {"OUT 47 0B00 0080 0", words,    "OUT 43 0000 0000 0", "OUT 4C 8000 8000 0", "W 32768",
          "OUT 4C 8000 8000 0", "W 32768"};
}

std::vector<std::string> With(std::vector<std::string> more) {
  std::vector<std::string> lines = UploadHalf("P 0000 0000 0000");
  const std::vector<std::string> second = UploadHalf("P 8000 0000 0000");
  lines.insert(lines.end(), second.begin(), second.end());
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

TEST_F(HeldDataSumTest, UploadThenOperation0BThenStatus) {
  ASSERT_TRUE(HeldDataSum(f.ctx, false));
  EXPECT_THAT(f.wire.lines, ElementsAreArray(With({"OUT 49 4000 0B00 0", "IN 42 0000 0000 16"})));
  EXPECT_EQ(f.view.SumText(), Sum());
  EXPECT_TRUE(f.events.empty());
  // The programmer sums what the buffer holds.
  const std::vector<uint8_t> b = f.Buffer();
  EXPECT_TRUE(std::equal(b.begin(), b.begin() + 0x10000, f.unit().data_ram().begin()));
  EXPECT_EQ(f.state.InfoBlock[0], 0xAA);
}

TEST_F(HeldDataSumTest, OptionBlockFollowsTheSumWhenAsked) {
  ASSERT_EQ(RunHeldDataSum(f.ctx, true), HeldSumResult::Done);
  EXPECT_THAT(f.wire.lines, ElementsAreArray(With({"OUT 49 4000 0B00 0", "IN 42 0000 0000 16",
                                                   "OUT 46 0E00 0100 0", "R 256"})));
  EXPECT_EQ(f.state.InfoBlock, f.unit().option_ram());
  EXPECT_EQ(f.view.SumText(), Sum());
}

// The colour compares the sum shown with the last one shown, which it then
// becomes; the buffer's own sum plays no part.
TEST_F(HeldDataSumTest, ColourComparesTheValueShown) {
  f.state.LastChecksum = 0x1234;
  ASSERT_TRUE(HeldDataSum(f.ctx, false));
  EXPECT_EQ(f.view.SumTextColour(), SumColour::Red);
  EXPECT_EQ(f.state.LastChecksum, int32_t{f.unit().HeldChecksum()});
  f.view.SetSumColour(SumColour::Red);
  ASSERT_TRUE(HeldDataSum(f.ctx, false));
  EXPECT_EQ(f.view.SumTextColour(), SumColour::WindowText);
}

TEST_F(HeldDataSumTest, EachStepFailingStopsWithItsIndication) {
  struct Case {
    const char* name;
    std::function<void(SimulatedUnit&)> fault;
    HeldSumResult result;
    std::vector<std::string> events;
    bool sum_shown;
  };
  const std::string beep = "beep 16";
  auto message = [](const char* text) { return std::string("message ") + text; };
  const Case cases[] = {
      {"upload",
       [](SimulatedUnit& u) { u.FailRequest(request::kPageWrite, 2); },
       HeldSumResult::UploadFailed,
       {beep, message(op_text::kPageWriteRequestFail), beep},
       false},
      {"0x49",
       [](SimulatedUnit& u) { u.FailRequest(request::kRun); },
       HeldSumResult::RunFailed,
       {beep, message(op_text::kError49CommandFail)},
       false},
      {"0x42 stalls",
       [](SimulatedUnit& u) { u.FailRequest(request::kStatus); },
       HeldSumResult::StatusUnreadable,
       {beep},
       false},
      {"0x42 short",
       [](SimulatedUnit& u) { u.ShortenNextReply(request::kStatus, 4); },
       HeldSumResult::StatusUnreadable,
       {beep},
       false},
      {"status error",
       [](SimulatedUnit& u) { u.FailNextOperation(1, 0); },
       HeldSumResult::StatusNotClean,
       {beep},
       false},
      {"0x46",
       [](SimulatedUnit& u) { u.FailRequest(request::kAreaRead); },
       HeldSumResult::InfoRequestFailed,
       {beep, message(op_text::kInfoReadRequestFail)},
       true},
      {"option block read",
       [](SimulatedUnit& u) { u.ShortenNextBulkRead(100); },
       HeldSumResult::InfoReadFailed,
       {beep, message(op_text::kOptionBlockFail)},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeldDataSumTest::SetUp();
    c.fault(f.unit());
    EXPECT_EQ(RunHeldDataSum(f.ctx, true), c.result);
    EXPECT_THAT(f.events, ElementsAreArray(c.events));
    EXPECT_EQ(f.view.SumText(), c.sum_shown ? Sum() : "PREVIOUS");
    EXPECT_EQ(f.state.InfoBlock[0], 0xAA);
    f.unit().ClearFaults();
  }
}

// The guard covers the whole sequence: nothing starts while the upload lets
// the queue run, and a sum asked for during another operation does nothing.
TEST_F(HeldDataSumTest, GuardedFromUploadToStatus) {
  bool erase_started = true;
  HeldSumResult inner = HeldSumResult::Done;
  f.pump.on_pump = [&](int) {
    erase_started = erase_1Click(f.ctx, 0);
    inner = RunHeldDataSum(f.ctx, false);
  };
  ASSERT_TRUE(HeldDataSum(f.ctx, false));
  EXPECT_FALSE(erase_started);
  EXPECT_EQ(inner, HeldSumResult::Refused);
  EXPECT_THAT(f.wire.lines, ElementsAreArray(With({"OUT 49 4000 0B00 0", "IN 42 0000 0000 16"})));
}

TEST_F(HeldDataSumTest, ReconnectWithoutUnit) {
  f.sim.SetUnitPresent(false);
  f.window.sram_buttons = true;
  EXPECT_FALSE(ReconnectProgrammer(f.ctx, true));
  EXPECT_THAT(f.events, ElementsAre("beep 16", "message not connected"));
  EXPECT_FALSE(f.window.sram_buttons);
  f.ClearRecords();
  EXPECT_FALSE(ReconnectProgrammer(f.ctx, false));
  EXPECT_THAT(f.events, ElementsAre("message not connected"));
  f.sim.SetUnitPresent(true);
  EXPECT_TRUE(ReconnectProgrammer(f.ctx, false));
  EXPECT_TRUE(f.window.sram_buttons);
}

}  // namespace
}  // namespace quenlet::testing
