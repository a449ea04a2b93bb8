// The block planner alone: where each page's data lies, how large the buffer
// must be, and the devices it refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/strprintf.h"
#include "programmer/block_plan.h"

namespace quenlet {
namespace {

DeviceGeometry Geometry(DataWidth width, uint32_t max, uint32_t ext = 0, int32_t lane = 0) {
  DeviceGeometry g;
  g.width = width;
  g.max_address_hi = static_cast<uint16_t>(max >> 16);
  g.max_address_low = static_cast<uint16_t>(max);
  g.ext_address_hi = static_cast<uint16_t>(ext >> 16);
  g.ext_address_low = static_cast<uint16_t>(ext);
  const uint64_t n = uint64_t{max} + ext + 1;
  g.ic_device_size = static_cast<uint32_t>(width == DataWidth::Word ? 2 * n : n);
  g.lane = ByteLane::FromCode(lane);
  return g;
}

const BlockOperation kAllOperations[] = {
    BlockOperation::Program,         BlockOperation::ReadBytes,       BlockOperation::ReadWords,
    BlockOperation::Verify,          BlockOperation::Confirm,         BlockOperation::Upload,
    BlockOperation::ReadSecondBytes, BlockOperation::ReadSecondWords, BlockOperation::ProgramSecond,
    BlockOperation::CompareSecond,
};

// Every device byte of the operation's area is moved exactly once, inside
// the bulk halves its page moves, and the buffer size the plan asks for
// holds every mapped index.
TEST(BlockPlan, EveryByteOnceAndNothingBeyond) {
  std::vector<DeviceGeometry> devices;
  for (uint32_t max : {0u, 1u, 0x7FFEu, 0x7FFFu, 0x8000u, 0xFFFEu, 0xFFFFu, 0x10000u, 0x17FFFu,
                       0x1FFFFu, 0x20000u, 0x2ABCDu}) {
    for (DataWidth width : {DataWidth::Byte, DataWidth::Word}) {
      for (uint32_t ext : {0u, 0xFFu, 0x10000u}) {
        devices.push_back(Geometry(width, max, ext));
      }
    }
    for (int32_t lane : {2, 6}) devices.push_back(Geometry(DataWidth::Byte, max, 0xFF, lane));
  }
  DeviceGeometry fuses = Geometry(DataWidth::Byte, 5892);
  fuses.fuse_mode = true;
  fuses.fuse_count = 5892;
  devices.push_back(fuses);
  DeviceGeometry start = Geometry(DataWidth::Byte, 0x2FFFF);
  start.start_address = 0x20000;
  start.start_address_hi = "2";
  devices.push_back(start);

  for (const DeviceGeometry& d : devices) {
    for (BlockOperation op : kAllOperations) {
      const PlanOutcome out = PlanBlocks(d, op);
      SCOPED_TRACE(strprintf("max %X ext %X width %d lane %d op %d", d.MainLast(), d.SecondLast(),
                             int(d.width), d.lane.code(), int(op)));
      if (!out.plan) continue;  // refusals are checked below
      const BlockPlan& plan = *out.plan;
      ASSERT_LT(plan.start_block, plan.block_count);
      std::vector<uint8_t> seen;
      uint64_t needed = 0;
      uint64_t twice = 0;
      for (const PageTransfer& page : plan.pages) {
        ASSERT_TRUE(page.bulk_halves == 1 || page.bulk_halves == 2);
        ASSERT_LE(page.data.count, page.bulk_halves * 32768u);
        if (page.data.count == 0) continue;
        const uint64_t last = page.data.first + uint64_t{page.data.count - 1} * page.data.stride;
        needed = std::max(needed, last + 1);
        if (seen.size() <= last) seen.resize(last + 1, 0);
        for (uint64_t i = 0; i < page.data.count; ++i) {
          twice += seen[page.data.first + i * page.data.stride]++ != 0;
        }
      }
      EXPECT_EQ(twice, 0u) << "bytes moved twice";
      const uint64_t moved = static_cast<uint64_t>(std::count(seen.begin(), seen.end(), 1));
      const uint64_t block =
          op == BlockOperation::ReadWords || op == BlockOperation::ReadSecondWords ||
                  (d.width == DataWidth::Word && op != BlockOperation::ReadBytes &&
                   op != BlockOperation::ReadSecondBytes)
              ? 131072
              : 65536;
      const uint64_t skipped = uint64_t{plan.start_block} * block;
      EXPECT_EQ(moved, plan.extent - std::min(plan.extent, skipped));
      EXPECT_EQ(needed,
                plan.source == DataSource::Buffer ? plan.buffer_needed : plan.fuse_map_needed);
    }
  }
}

TEST(BlockPlan, WhereTheDataLies) {
  struct Case {
    const char* name;
    DeviceGeometry device;
    BlockOperation op;
    size_t page;
    DataSpan span;
    uint64_t buffer_needed;
  };
  DeviceGeometry fuses = Geometry(DataWidth::Byte, 5892, 0, 2);
  fuses.fuse_mode = true;
  fuses.fuse_count = 5892;
  const Case cases[] = {
      {"lanes of four at three",
       Geometry(DataWidth::Byte, 0xFFFF, 0, 6),
       BlockOperation::Program,
       0,
       {DataSource::Buffer, 3, 4, 65536},
       4 * 65536},
      // The second area follows the main area in the same lanes.
      {"second area in lanes of two",
       Geometry(DataWidth::Byte, 0xFFFF, 0xFF, 2),
       BlockOperation::ProgramSecond,
       0,
       {DataSource::Buffer, 2 * 65536 + 1, 2, 256},
       2 * 65536 + 2 * 255 + 2},
      {"second area behind a byte main area",
       Geometry(DataWidth::Byte, 0x7FFF, 0xFF),
       BlockOperation::ReadSecondBytes,
       0,
       {DataSource::Buffer, 0x8000, 1, 256},
       0x8100},
      {"word second area behind the main area's bytes",
       Geometry(DataWidth::Word, 0x7FFF, 0xFF),
       BlockOperation::ReadSecondWords,
       0,
       {DataSource::Buffer, 0x10000, 1, 512},
       0x10200},
      {"fuses are never lane-mapped",
       fuses,
       BlockOperation::Program,
       0,
       {DataSource::FuseMap, 0, 1, 5892},
       0},
      {"a partial last block",
       Geometry(DataWidth::Byte, 0x17FFF),
       BlockOperation::Verify,
       1,
       {DataSource::Buffer, 65536, 1, 32768},
       0x18000},
      // 80 K words: the last block's second page moves no data.
      {"a page past the device",
       Geometry(DataWidth::Word, 0x13FFF),
       BlockOperation::Program,
       3,
       {DataSource::Buffer, 3 * 65536, 1, 0},
       163840},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PlanOutcome out = PlanBlocks(c.device, c.op);
    ASSERT_TRUE(out.plan) << out.error;
    ASSERT_GT(out.plan->pages.size(), c.page);
    EXPECT_EQ(out.plan->pages[c.page].data, c.span);
    EXPECT_EQ(out.plan->buffer_needed, c.buffer_needed);
  }
}

TEST(BlockPlan, SecondAreaOperations) {
  // A second area over 64 KB is read whole.
  const PlanOutcome big =
      PlanBlocks(Geometry(DataWidth::Byte, 0xFFFF, 0x17FFF), BlockOperation::ReadSecondBytes);
  ASSERT_TRUE(big.plan);
  ASSERT_EQ(big.plan->pages.size(), 2u);
  EXPECT_EQ(big.plan->pages[1].data.count, 32768u);
  EXPECT_EQ(big.plan->pages[0].operation, 0x0D);

  // The word read of a second area runs operation 0x0D, as its compares do
  // (operation 1 reads the main area); its program sends the device size
  // less one as page word.
  const DeviceGeometry words = Geometry(DataWidth::Word, 0x3FFF, 0xFF);
  const PlanOutcome read = PlanBlocks(words, BlockOperation::ReadSecondWords);
  ASSERT_TRUE(read.plan);
  EXPECT_EQ(read.plan->pages[0].operation, 0x0D);
  const PlanOutcome program = PlanBlocks(words, BlockOperation::ProgramSecond);
  ASSERT_TRUE(program.plan);
  EXPECT_EQ(program.plan->block_length, words.ic_device_size - 1);
  EXPECT_EQ(program.plan->pages[0].operation, 0x0E);
}

TEST(BlockPlan, Refusals) {
  DeviceGeometry neither = Geometry(DataWidth::Neither, 0x7FFF, 0xFF);
  DeviceGeometry past_end = Geometry(DataWidth::Byte, 0x1FFFF);
  past_end.start_address = 0x20000;
  past_end.start_address_hi = "2";
  DeviceGeometry not_a_number = past_end;
  not_a_number.start_address_hi = "one";
  struct Case {
    const char* name;
    DeviceGeometry device;
    BlockOperation op;
    std::string error;
  };
  const std::string start_error = strprintf(kStartBlockErrorFormat, "2", 2u);
  const Case cases[] = {
      {"program, neither width", neither, BlockOperation::Program, kDataWidthError},
      {"verify, neither width", neither, BlockOperation::Verify, kDataWidthError},
      {"confirm, neither width", neither, BlockOperation::Confirm, kDataWidthError},
      {"upload, neither width", neither, BlockOperation::Upload, kDataWidthError},
      {"second program, neither width", neither, BlockOperation::ProgramSecond, kDataWidthError},
      {"start block past the end", past_end, BlockOperation::Program, start_error},
      {"start block past the end, verify", past_end, BlockOperation::Verify, start_error},
      {"start block not a number", not_a_number, BlockOperation::Confirm,
       strprintf(kStartBlockErrorFormat, "one", 2u)},
      {"no second area", Geometry(DataWidth::Byte, 0x7FFF), BlockOperation::ReadSecondBytes,
       kNoSecondAreaError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PlanOutcome out = PlanBlocks(c.device, c.op);
    EXPECT_FALSE(out.plan);
    EXPECT_EQ(out.error, c.error);
  }
  // The byte routine reads from block 0 and needs neither width nor start.
  EXPECT_TRUE(PlanBlocks(past_end, BlockOperation::ReadBytes).plan);
  EXPECT_TRUE(PlanBlocks(neither, BlockOperation::ReadBytes).plan);
}

}  // namespace
}  // namespace quenlet
