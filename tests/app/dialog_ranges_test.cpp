// The ranges of the buffer dialogs (block, fill, checksum, save, resize)
// over the largest buffer, whose upper addresses need eight digits, and over
// a device of no size, without windows.
#include <gtest/gtest.h>

#include <string>

#include "app/block_dialogs.h"
#include "app/fill_sum_dialogs.h"
#include "app/load_save_dialogs.h"
#include "app/load_save_fixture.h"
#include "buffer/hex_input.h"
#include "buffer/save_pipeline.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

class DialogRangesTest : public testing::LoadSaveFixture {
 protected:
  static void SetRange(RangeFields& r, const char* start, const char* end) {
    r = {start, end, ByteToWordAddressText(start), ByteToWordAddressText(end)};
  }
  // The ends "Max" puts into each dialog's range.
  std::vector<std::string> MaxEnds() {
    std::vector<std::string> ends;
    BlockDialogLogic block(ctx);
    block.FormCreate();
    block.FillMaxRangeClick();
    ends.push_back(block.fields().source.end8 + "/" + block.fields().source.end16);
    FillDialogLogic fill(ctx);
    fill.FormCreate();
    fill.MaxRangeBtnClick();
    ends.push_back(fill.fields().range.end8 + "/" + fill.fields().range.end16);
    SumDialogLogic sum(ctx);
    sum.FormCreate();
    sum.FillMaxRangeClick();
    ends.push_back(sum.fields().range.end8 + "/" + sum.fields().range.end16);
    SaveDialogLogic save(env);
    save.FormCreate();
    save.FillMaxBtnClick();
    ends.push_back(save.fields().source_end);
    return ends;
  }
};

TEST_F(DialogRangesTest, TheLargestBufferIsReachedUpToItsLastByte) {
  // 512 MiB + 1024: its upper half lies above 0x10000000.
  ASSERT_TRUE(ops.buffer.ResizeBuffer(kMaxBufferSize, messages));
  ASSERT_EQ(ops.buffer.BufSize(), 0x20000400u);
  EXPECT_EQ(MaxEnds(), (std::vector<std::string>{"200003FF/100001FF", "200003FF/100001FF",
                                                 "200003FF/100001FF", "200003FF"}));

  // Fill the last 1 KB, sum it, copy a block above 0x10000000, save it.
  RunFillCommand(ctx, [&] {
    FillDialogLogic fill(ctx);
    fill.FormCreate();
    SetRange(fill.fields().range, "20000000", "200003FF");
    fill.fields().user_check = true;
    fill.fields().user_byte_text = "5A";
    return fill.FillBtnClick();
  });
  const auto bytes = ops.buffer.Bytes();
  EXPECT_EQ(bytes[0x1FFFFFFF], 0x00);
  EXPECT_EQ(bytes[0x20000000], 0x5A);
  EXPECT_EQ(bytes[0x200003FF], 0x5A);

  RunSumCommand(ctx, [&] {
    SumDialogLogic sum(ctx);
    sum.FormCreate();
    SetRange(sum.fields().range, "20000000", "200003FF");
    return sum.GetSumBtnClick();
  });
  EXPECT_EQ(Texts().back(), strprintf("SUM : %08X", 0x400u * 0x5A));

  RunBlockCommand(ctx, [&] {
    BlockDialogLogic block(ctx);
    block.FormCreate();
    BlockDialogFields& f = block.fields();
    f.source = {"20000300", "200003FF", "10000180", "100001FF"};
    f.dest8 = "18000000";
    f.dest16 = "C000000";
    return block.GetSumBtnClick();
  });
  EXPECT_EQ(ops.buffer.Bytes()[0x18000000], 0x5A);
  EXPECT_EQ(ops.buffer.Bytes()[0x180000FF], 0x5A);
  EXPECT_EQ(ops.buffer.Bytes()[0x18000100], 0x00);

  SaveDialogLogic save(env);
  save.FormCreate();
  save.fields().name = Path("top.bin");
  save.fields().source_start = "200003F0";
  save.fields().source_end = "200003FF";
  ASSERT_TRUE(save.Save());
  ASSERT_EQ(SaveBuffer(ops.buffer, messages, ops.progress), 1);
  EXPECT_EQ(testing::ReadFile(Path("top.bin")), std::string(16, '\x5A'));

  // The resize dialog shows the buffer's size, so OK at once keeps it.
  ResizeDialogLogic resize(ctx);
  resize.FormCreate();
  EXPECT_EQ(resize.size_text(), "20000000");
  ASSERT_TRUE(resize.OKBtnClick());
  EXPECT_EQ(ops.buffer.BufSize(), 0x20000400u);
  EXPECT_EQ(ops.buffer.Bytes()[0x200003FF], 0x5A);
}

TEST_F(DialogRangesTest, AnEmptyDeviceShowsTheSameEmptyRangeInEveryDialog) {
  ops.device.IcDeviceSize = 0;
  std::vector<std::string> ends;
  BlockDialogLogic block(ctx);
  block.FormCreate();
  block.FillICSizeBBClick();
  ends.push_back(block.fields().source.end8);
  FillDialogLogic fill(ctx);
  fill.FormCreate();
  fill.FillICSizeBBClick();
  ends.push_back(fill.fields().range.end8);
  SumDialogLogic sum(ctx);
  sum.FormCreate();
  sum.FillICSizeBBClick();
  ends.push_back(sum.fields().range.end8);
  SaveDialogLogic save(env);
  save.FormCreate();
  save.FillICSizeBBClick();
  ends.push_back(save.fields().source_end);
  EXPECT_EQ(ends, std::vector<std::string>(4, "0000000"));
}

}  // namespace
}  // namespace quenlet
