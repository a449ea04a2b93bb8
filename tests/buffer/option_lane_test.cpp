// The byte-lane choice committed to the run state and the buffer.
#include "buffer/option_lane.h"

#include <gtest/gtest.h>

#include "buffer/data_buffer.h"
#include "device/selected_device.h"
#include "state/main_form_state.h"
#include "support/fakes.h"

namespace quenlet::testing {
namespace {

class LaneCommitTest : public ::testing::Test {
 protected:
  MainFormState state;
  SelectedDevice device;
  FakeMessages messages;
  DataBuffer buffer;
};

TEST_F(LaneCommitTest, LanesByTheTable) {
  struct Case {
    int32_t code;
    uint32_t offset;
    uint32_t width;
    uint32_t buffer_size;
  };
  for (const Case& c : {Case{0, 0, 1, 0x20000}, Case{1, 0, 2, 0x40000}, Case{2, 1, 2, 0x40000},
                        Case{3, 0, 4, 0x80000}, Case{6, 3, 4, 0x80000}, Case{9, 0, 1, 0x20000}}) {
    SCOPED_TRACE(c.code);
    MainFormState s;
    s.BufferSize = 0x20000;
    device.IcDeviceSize = 0x20000;
    DataBuffer b;
    ASSERT_TRUE(CommitLaneChoice(c.code, s, device, b, messages));
    EXPECT_EQ(s.LaneOffset(), c.offset);
    EXPECT_EQ(s.LaneWidth(), c.width);
    EXPECT_EQ(s.BufferSize, c.buffer_size);
    EXPECT_EQ(b.BufSize(), c.buffer_size + DataBuffer::kSizeExtra);
    EXPECT_EQ(s.ProgrammerHasData, 1);
  }
  EXPECT_TRUE(messages.boxes.empty());
}

// Loaded data stays: a lane that needs less than the buffer holds does not
// shrink it.
TEST_F(LaneCommitTest, NeverShrinksTheBuffer) {
  device.IcDeviceSize = 0x8000;
  state.BufferSize = 0x8000;
  ASSERT_TRUE(buffer.ResizeBuffer(0x1020000, messages));  // after an S-record load
  buffer.Bytes()[0x1000000] = 0xA5;
  for (int32_t code : {0, 2, 5}) {
    ASSERT_TRUE(CommitLaneChoice(code, state, device, buffer, messages));
    EXPECT_EQ(buffer.BufSize(), 0x1020000u + DataBuffer::kSizeExtra);
    EXPECT_EQ(buffer.Bytes()[0x1000000], 0xA5);
  }
  EXPECT_EQ(state.BufferSize, 0x20000u);
  EXPECT_EQ(state.DataSetMode(), 5);
}

// A lane the buffer cannot take leaves the previous lane, sizes and data.
TEST_F(LaneCommitTest, SizeBeyondTheBufferLimitIsRefused) {
  ASSERT_TRUE(CommitLaneChoice(1, state, device, buffer, messages));
  state.ProgrammerHasData = 0;
  const uint32_t before = buffer.BufSize();
  for (uint32_t size : {0x10000000u, 0x40000000u}) {  // 1 GiB, and 4 GiB that 32 bits wrap to 0
    SCOPED_TRACE(size);
    device.IcDeviceSize = size;
    messages.boxes.clear();
    EXPECT_FALSE(CommitLaneChoice(6, state, device, buffer, messages));
    EXPECT_EQ(state.DataSetMode(), 1);
    EXPECT_EQ(state.BufferSize, 0u);
    EXPECT_EQ(state.ProgrammerHasData, 0);
    EXPECT_EQ(buffer.BufSize(), before);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, "Memory error !");
  }
}

TEST(LaneRangeSizeText, LastBufferAddress) {
  SelectedDevice device;
  EXPECT_EQ(LaneRangeSizeText(device), "0000000");
  device.IcBufferSize = 0x20000;
  EXPECT_EQ(LaneRangeSizeText(device), "001FFFF");
}

}  // namespace
}  // namespace quenlet::testing
