// What the block and resize dialogs show, check and write, and the Block
// command around its dialog, without windows.
#include "app/block_dialogs.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <fstream>
#include <stdexcept>

#include "app/load_save_fixture.h"
#include "buffer/dialog_result.h"
#include "buffer/hex_input.h"

namespace quenlet {
namespace {

class BlockDialogTest : public testing::LoadSaveFixture {
 protected:
  BlockDialogLogic Opened() {
    BlockDialogLogic dialog(ctx);
    dialog.FormCreate();
    return dialog;
  }
  void SetSource(BlockDialogLogic& d, const char* start, const char* end, const char* dest) {
    BlockDialogFields& f = d.fields();
    f.source = {start, end, ByteToWordAddressText(start), ByteToWordAddressText(end)};
    f.dest8 = dest;
    f.dest16 = ByteToWordAddressText(dest);
    d.FieldsChanged();
  }
};

TEST_F(BlockDialogTest, OpensWithTheDeviceRangeTheStoredDestinationAndTheBufferSize) {
  History().WriteInteger("BlockDlg", "DistSAdd", 0x1000);
  History().WriteInteger("BlockDlg", "Action", kBlockSwap);
  const BlockDialogLogic dialog = Opened();
  const BlockDialogFields& f = dialog.fields();
  EXPECT_EQ(f.source.start8, "0000000");
  EXPECT_EQ(f.source.end8, "0007FFF");
  EXPECT_EQ(f.source.start16, "0000000");
  EXPECT_EQ(f.source.end16, "0003FFF");
  // All seven digits of the stored destination, not the value / 16.
  EXPECT_EQ(f.dest8, "0001000");
  EXPECT_EQ(f.dest16, "0000800");
  EXPECT_EQ(f.dest_end8, "0008FFF");
  EXPECT_EQ(f.dest_end16, "00047FF");
  EXPECT_EQ(f.action, kBlockSwap);
  EXPECT_EQ(f.buffer_size, "0010400");  // the real size, not the unset "0000000"
  EXPECT_TRUE(f.range_enabled);
}

TEST_F(BlockDialogTest, StoredDestinationsKeepEveryDigitAndTheirTwinsAgree) {
  struct Row {
    int32_t dest, action;
    const char *dest8, *dest16;
    int32_t shown_action;
  };
  const Row rows[] = {
      {-1, 7, "FFFFFFFF", "7FFFFFFF", kBlockCopy},  // 32-bit FFFFFFFF, never 16 digits
      {0x10000000, -1, "10000000", "8000000", kBlockCopy},
      {0x0FFFFFFF, kBlockMove, "FFFFFFF", "7FFFFFF", kBlockMove},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dest);
    History().WriteInteger("BlockDlg", "DistSAdd", row.dest);
    History().WriteInteger("BlockDlg", "Action", row.action);
    const BlockDialogLogic dialog = Opened();
    EXPECT_EQ(dialog.fields().dest8, row.dest8);
    EXPECT_EQ(dialog.fields().dest16, row.dest16);
    EXPECT_EQ(dialog.fields().action, row.shown_action);
  }
}

TEST_F(BlockDialogTest, TheDestinationEndFollowsTheRange) {
  BlockDialogLogic dialog = Opened();
  SetSource(dialog, "100", "1FF", "1000");
  EXPECT_EQ(dialog.fields().dest_end8, "00010FF");
  EXPECT_EQ(dialog.fields().dest_end16, "000087F");
  // An empty range leaves the ends as they were.
  SetSource(dialog, "200", "200", "3000");
  EXPECT_EQ(dialog.fields().dest_end8, "00010FF");
}

TEST_F(BlockDialogTest, RangeButtons) {
  BlockDialogLogic dialog = Opened();
  RangeFields& r = dialog.fields().source;

  dialog.FillFileRangeClick();
  EXPECT_EQ(Texts(), std::vector<std::string>{"No File Seleted!!"});
  EXPECT_EQ(r.end8, "0007FFF");  // unchanged

  // FileSize is one past the file's last byte: the range ends on that byte.
  ops.buffer.SetFileSize(0x101);
  dialog.FillFileRangeClick();
  EXPECT_EQ(r.start8, "0000000");
  EXPECT_EQ(r.end8, "0000100");
  EXPECT_EQ(r.end16, "0000080");

  // Max first grows a buffer smaller than the device + 1024.
  ASSERT_TRUE(ops.buffer.ResizeBuffer(0x100, messages));
  dialog.FillMaxRangeClick();
  EXPECT_EQ(ops.buffer.BufSize(), 0x8400u);
  EXPECT_EQ(r.end8, "00083FF");
  EXPECT_EQ(r.end16, "00041FF");
  EXPECT_EQ(dialog.fields().buffer_size, "0008400");

  dialog.FillICSizeBBClick();
  EXPECT_EQ(r.end8, "0007FFF");
  EXPECT_EQ(r.end16, "0003FFF");
}

TEST_F(BlockDialogTest, RefusedFieldsWriteNothingAndSayWhy) {
  struct Row {
    const char* name;
    const char *start, *end, *dest;
    const char* text;     // the message
    const char* caption;  // of the "Input Value Error !" box
  };
  // The buffer holds 0x10400 bytes.
  const Row rows[] = {
      {"end 0", "0", "0", "100", "Range Error!!", ""},
      {"end below start", "200", "1FF", "1000", "Range Error!!", ""},
      {"end past the buffer", "0", "10401", "1000", "Range Error!!", ""},
      {"end equals start", "200", "200", "1000", "Input Value Error !", "Error"},
      {"a word range of nothing", "0", "1", "1000", "Input Value Error !", "Error"},
      {"end at the buffer's size", "0", "10400", "0", "Input Value Error !", "ERROR"},
      {"destination end at the buffer's size", "100", "1FF", "10301", "Input Value Error !",
       "ERROR"},
      {"destination past the buffer", "100", "1FF", "FFFFFFF", "Input Value Error !", "ERROR"},
  };
  IniFile(Path("History_1.ini")).WriteString("BlockDlg", "OK", "1");
  const std::string before = HistoryBytes();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    messages.boxes.clear();
    BlockDialogLogic dialog = Opened();
    SetSource(dialog, row.start, row.end, row.dest);
    EXPECT_FALSE(dialog.GetSumBtnClick());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, row.text);
    EXPECT_EQ(messages.boxes[0].caption, row.caption);
    EXPECT_EQ(HistoryBytes(), before);
  }
}

TEST_F(BlockDialogTest, RangeErrorPutsTheWholeDeviceBack) {
  struct Row {
    uint32_t device_size;
    const char *end8, *end16;
  };
  // A device of size 0 gives end 0, not FFFFFFFF cut to seven digits.
  for (const Row& row : {Row{0x8000, "0007FFF", "0003FFF"}, Row{0x8001, "0008000", "0004000"},
                         Row{0, "0000000", "0000000"}}) {
    SCOPED_TRACE(row.device_size);
    ops.device.IcDeviceSize = row.device_size;
    BlockDialogLogic dialog = Opened();
    SetSource(dialog, "300", "0", "0");
    EXPECT_FALSE(dialog.GetSumBtnClick());
    const RangeFields& r = dialog.fields().source;
    EXPECT_EQ(r.start8, "0000000");
    EXPECT_EQ(r.start16, "0000000");
    EXPECT_EQ(r.end8, row.end8);
    EXPECT_EQ(r.end16, row.end16);
  }
}

TEST_F(BlockDialogTest, OkWritesTheSectionAndCancelOnlyOk) {
  ops.buffer.SetViewPage(1);
  ops.buffer.SetViewTopRow(5);
  BlockDialogLogic dialog = Opened();
  SetSource(dialog, "100", "1FF", "1000");
  dialog.fields().action = kBlockMove;
  ASSERT_TRUE(dialog.GetSumBtnClick());
  EXPECT_TRUE(messages.boxes.empty());
  const IniFile h = History();
  EXPECT_EQ(h.ReadString("BlockDlg", "StartAdd", ""), "256");
  EXPECT_EQ(h.ReadString("BlockDlg", "EndAdd", ""), "511");
  EXPECT_EQ(h.ReadString("BlockDlg", "Action", ""), "1");
  EXPECT_EQ(h.ReadString("BlockDlg", "DistSAdd", ""), "4096");
  EXPECT_EQ(h.ReadString("BlockDlg", "OK", ""), "1");
  EXPECT_EQ(ops.buffer.ViewPage(), 0);  // the editor is back at its first row
  EXPECT_EQ(ops.buffer.ViewTopRow(), 0);

  Opened().ExitBtnClick();
  EXPECT_EQ(History().ReadString("BlockDlg", "OK", ""), "0");
  EXPECT_EQ(History().ReadString("BlockDlg", "DistSAdd", ""), "4096");
}

TEST_F(BlockDialogTest, ACommandRunsTheConfirmedActionOnly) {
  struct Row {
    const char* name;
    int32_t action;
    std::vector<uint8_t> after;
  };
  const Row rows[] = {
      {"copy", kBlockCopy, {1, 2, 1, 2, 3, 4}},
      {"move", kBlockMove, {0, 0, 1, 2, 3, 4}},
      {"swap", kBlockSwap, {3, 4, 0, 0, 1, 2}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto bytes = ops.buffer.Bytes();
    std::fill(bytes.begin(), bytes.end(), 0);
    const uint8_t start[] = {1, 2, 3, 4};
    std::copy(std::begin(start), std::end(start), bytes.begin());
    RunBlockCommand(ctx, [&] {
      BlockDialogLogic dialog = Opened();
      SetSource(dialog, "0", "3", "2");
      dialog.fields().action = row.action;
      EXPECT_TRUE(dialog.GetSumBtnClick());
      return true;
    });
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 6), row.after);
  }
  EXPECT_TRUE(messages.boxes.empty());

  // Cancelled: nothing moves, even where the OK := "0" of the cancel did not
  // reach the file and the last confirmed block still stands there.
  const std::vector<uint8_t> before = ops.Buffer();
  RunBlockCommand(ctx, [&] {
    Opened().ExitBtnClick();
    return false;
  });
  EXPECT_EQ(ops.Buffer(), before);
  History().WriteString("BlockDlg", "OK", "1");
  RunBlockCommand(ctx, [] { return false; });
  EXPECT_EQ(ops.Buffer(), before);
}

TEST_F(BlockDialogTest, ACommandSaysWhenTheBufferRefusesTheBlock) {
  // What the dialog stored no longer fits: the buffer shrank since.
  IniBatch batch;
  batch.WriteInteger("BlockDlg", "StartAdd", 0);
  batch.WriteInteger("BlockDlg", "EndAdd", 0xFF);
  batch.WriteInteger("BlockDlg", "DistSAdd", 0x10380);
  batch.WriteString("BlockDlg", "OK", "1");
  ASSERT_TRUE(History().Write(batch));
  const std::vector<uint8_t> before = ops.Buffer();
  RunBlockCommand(ctx, [] { return true; });
  EXPECT_EQ(Texts(), std::vector<std::string>{"Range Error!!"});
  EXPECT_EQ(ops.Buffer(), before);

  // An error raised inside the dialog is shown, and no block runs.
  messages.boxes.clear();
  batch.WriteInteger("BlockDlg", "DistSAdd", 0x100);
  ASSERT_TRUE(History().Write(batch));
  RunBlockCommand(ctx,
                  []() -> bool { throw std::runtime_error("'x' is not a valid integer value"); });
  EXPECT_EQ(messages.errors, std::vector<std::string>{"'x' is not a valid integer value"});
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_EQ(ops.Buffer(), before);
}

// ------------------------------------------------------------ Buffer Resize.

class ResizeDialogTest : public testing::LoadSaveFixture {};

TEST_F(ResizeDialogTest, OpensOnTheCurrentSizeSoOkKeepsIt) {
  ResizeDialogLogic dialog(ctx);
  dialog.FormCreate();
  EXPECT_EQ(dialog.size_text(), "0010000");  // the buffer holds 0x10000 + 1024
  ops.FillSource(3);
  const std::vector<uint8_t> before = ops.Buffer();
  ASSERT_TRUE(dialog.OKBtnClick());
  EXPECT_EQ(ops.Buffer(), before);
}

TEST_F(ResizeDialogTest, OkResizesAndWritesTheSections) {
  ops.buffer.SetViewTopRow(9);
  ResizeDialogLogic dialog(ctx);
  dialog.FormCreate();
  dialog.size_text() = "20000";
  ASSERT_TRUE(dialog.OKBtnClick());
  EXPECT_EQ(ops.buffer.BufSize(), 0x20400u);
  const IniFile h = History();
  EXPECT_EQ(h.ReadString("ResizeDlg", "OK", ""), "1");
  EXPECT_EQ(h.ReadString("BufInf", "BufSize", ""), "132096");
  EXPECT_EQ(ops.buffer.ViewTopRow(), 0);

  ResizeDialogLogic(ctx).ExitBtnClick();
  EXPECT_EQ(History().ReadString("ResizeDlg", "OK", ""), "0");
}

TEST_F(ResizeDialogTest, ARefusedSizeOrAFailedResizeKeepsTheDialogOpenWithNothingWritten) {
  const std::string before = HistoryBytes();
  ResizeDialogLogic dialog(ctx);
  dialog.size_text() = "20000001";  // past the largest buffer
  EXPECT_FALSE(dialog.OKBtnClick());
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "Input Value Error !");
  EXPECT_EQ(messages.boxes[0].caption, "ERROR");

#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator does not fail under an address-space limit";
#else
  // 256 MiB more than the process may map: the resize cannot get its block.
  long pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_AS, &old), 0);
  rlimit tight = old;
  tight.rlim_cur = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + (64ull << 20);
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &tight), 0);
  messages.boxes.clear();
  dialog.size_text() = "FFFFFFF";
  const bool closed = dialog.OKBtnClick();
  ::setrlimit(RLIMIT_AS, &old);
  EXPECT_FALSE(closed);
  EXPECT_EQ(Texts(), std::vector<std::string>{"Memory error !"});
  EXPECT_EQ(ops.buffer.BufSize(), 0x10400u);
  EXPECT_EQ(HistoryBytes(), before);
#endif
}

}  // namespace
}  // namespace quenlet
