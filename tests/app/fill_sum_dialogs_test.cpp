// What the fill and checksum dialogs show, check and write, the Fill Data
// and Get Sum commands around them, and the programmer's own sum behind the
// checksum dialog's "IC", without windows.
#include "app/fill_sum_dialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "app/load_save_fixture.h"
#include "buffer/hex_input.h"
#include "programmer/protocol.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;

class FillDialogTest : public testing::LoadSaveFixture {
 protected:
  FillDialogLogic Opened() {
    FillDialogLogic dialog(ctx);
    dialog.FormCreate();
    return dialog;
  }
  static void SetRange(RangeFields& r, const char* start, const char* end) {
    r = {start, end, ByteToWordAddressText(start), ByteToWordAddressText(end)};
  }
  // The Fill Data command with the dialog confirmed as `choose` leaves it.
  void Fill(const char* start, const char* end,
            const std::function<void(FillDialogFields&)>& choose) {
    RunFillCommand(ctx, [&] {
      FillDialogLogic dialog = Opened();
      SetRange(dialog.fields().range, start, end);
      choose(dialog.fields());
      EXPECT_TRUE(dialog.FillBtnClick());
      return true;
    });
  }
  std::vector<uint8_t> Bytes(size_t from, size_t count) const {
    auto b = ops.buffer.Bytes();
    return {b.begin() + from, b.begin() + from + count};
  }
};

TEST_F(FillDialogTest, OpensWithTheDeviceRangeAndTheLastChoices) {
  FillDialogLogic fresh = Opened();
  const FillDialogFields& f = fresh.fields();
  EXPECT_EQ(f.range.end8, "0007FFF");
  EXPECT_EQ(f.range.end16, "0003FFF");
  EXPECT_EQ(f.select, kFillAllBit1);
  EXPECT_EQ(f.user_byte_text, "FF");
  EXPECT_EQ(f.user_word_text, "FFFF");
  EXPECT_TRUE(f.PatternsEnabled());
  EXPECT_FALSE(f.ByteValueEnabled());
  EXPECT_FALSE(f.WordValueEnabled());

  IniBatch batch;
  batch.WriteInteger("FillDataDlg", "Select", kFillSequentialWord);
  batch.WriteInteger("FillDataDlg", "UserCheck", 1);
  batch.WriteInteger("FillDataDlg", "UserByteWordSel", 1);
  batch.WriteInteger("FillDataDlg", "UserData", 0x5A);
  batch.WriteInteger("FillDataDlg", "UserWordData", 0x1234);
  ASSERT_TRUE(History().Write(batch));
  FillDialogLogic stored = Opened();
  const FillDialogFields& s = stored.fields();
  EXPECT_EQ(s.select, kFillSequentialWord);
  EXPECT_EQ(s.user_byte_text, "5A");
  EXPECT_EQ(s.user_word_text, "1234");
  // A word value: the patterns and the byte field are off.
  EXPECT_FALSE(s.PatternsEnabled());
  EXPECT_FALSE(s.ByteValueEnabled());
  EXPECT_TRUE(s.WordValueEnabled());

  // What a hand-edited file holds beyond the fields is kept inside them.
  batch.WriteInteger("FillDataDlg", "Select", 9);
  batch.WriteInteger("FillDataDlg", "UserData", 0x1A5);
  batch.WriteInteger("FillDataDlg", "UserWordData", -1);
  ASSERT_TRUE(History().Write(batch));
  FillDialogLogic odd = Opened();
  EXPECT_EQ(odd.fields().select, kFillAllBit1);
  EXPECT_EQ(odd.fields().user_byte_text, "A5");
  EXPECT_EQ(odd.fields().user_word_text, "FFFF");
}

TEST_F(FillDialogTest, TheCommandFillsWhatTheDialogChose) {
  struct Row {
    const char* name;
    std::function<void(FillDialogFields&)> choose;
    std::vector<uint8_t> at_110;  // bytes 0x110 and 0x111
    std::vector<uint8_t> at_1fe;  // the range's last two bytes
  };
  const Row rows[] = {
      {"All Bit 1",
       [](FillDialogFields& f) { f.select = kFillAllBit1; },
       {0xFF, 0xFF},
       {0xFF, 0xFF}},
      {"All Bit 0",
       [](FillDialogFields& f) { f.select = kFillAllBit0; },
       {0x00, 0x00},
       {0x00, 0x00}},
      {"Sequential Byte",
       [](FillDialogFields& f) { f.select = kFillSequentialByte; },
       {0x10, 0x11},
       {0xFE, 0xFF}},
      {"Sequential Word",
       [](FillDialogFields& f) { f.select = kFillSequentialWord; },
       {0x01, 0x10},
       {0x01, 0xFE}},
      {"user byte",
       [](FillDialogFields& f) {
         f.user_check = true;
         f.user_byte_text = "5A";
       },
       {0x5A, 0x5A},
       {0x5A, 0x5A}},
      {"user word",
       [](FillDialogFields& f) {
         f.user_check = true;
         f.user_word = 1;
         f.user_word_text = "1234";
       },
       {0x34, 0x12},
       {0x34, 0x12}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ops.FillSource(0x77);
    const std::vector<uint8_t> before = ops.Buffer();
    Fill("100", "1FF", row.choose);
    EXPECT_EQ(Bytes(0x110, 2), row.at_110);
    EXPECT_EQ(Bytes(0x1FE, 2), row.at_1fe);
    // The neighbours of the range are untouched.
    EXPECT_EQ(Bytes(0xFF, 1)[0], before[0xFF]);
    EXPECT_EQ(Bytes(0x200, 1)[0], before[0x200]);
  }
  // Random data: only the range may change.
  ops.FillSource(0x77);
  const std::vector<uint8_t> before = ops.Buffer();
  Fill("100", "1FF", [](FillDialogFields& f) { f.select = kFillRandom; });
  std::vector<uint8_t> after = ops.Buffer();
  std::copy(before.begin() + 0x100, before.begin() + 0x200, after.begin() + 0x100);
  EXPECT_EQ(after, before);
  EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(FillDialogTest, RefusedFieldsWriteNothingAndSayWhy) {
  struct Row {
    const char* name;
    const char *start, *end, *byte, *word;
    const char* text;
    const char* caption;
  };
  // The buffer holds 0x10400 bytes.
  const Row rows[] = {
      {"end 0", "0", "0", "FF", "FFFF", "Range Error!!", ""},
      {"end past the buffer", "0", "10401", "FF", "FFFF", "Range Error!!", ""},
      {"end equals start", "20", "20", "FF", "FFFF", "Input Value Error !", "Error"},
      {"end at the buffer's size", "0", "10400", "FF", "FFFF", "Input Value Error !", "ERROR"},
      {"a byte value of three digits", "0", "FF", "100", "FFFF", "Input Value Error !", "ERROR"},
      {"a word value of five digits", "0", "FF", "FF", "10000", "Input Value Error !", "ERROR"},
  };
  IniFile(Path("History_1.ini")).WriteString("FillDataDlg", "OK", "1");
  const std::string before = HistoryBytes();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    messages.boxes.clear();
    FillDialogLogic dialog = Opened();
    SetRange(dialog.fields().range, row.start, row.end);
    dialog.fields().user_byte_text = row.byte;
    dialog.fields().user_word_text = row.word;
    EXPECT_FALSE(dialog.FillBtnClick());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, row.text);
    EXPECT_EQ(messages.boxes[0].caption, row.caption);
    EXPECT_EQ(HistoryBytes(), before);
  }

  // The reset after "Range Error!!" with a device of size 0 ends at 0.
  ops.device.IcDeviceSize = 0;
  FillDialogLogic dialog = Opened();
  SetRange(dialog.fields().range, "10", "0");
  EXPECT_FALSE(dialog.FillBtnClick());
  EXPECT_EQ(dialog.fields().range.end8, "0000000");
  EXPECT_EQ(dialog.fields().range.end16, "0000000");
}

TEST_F(FillDialogTest, OkWritesTheSectionCancelOnlyOk) {
  FillDialogLogic dialog = Opened();
  SetRange(dialog.fields().range, "10", "2F");
  dialog.fields().select = kFillRandom;
  dialog.fields().user_word_text = "FFFF";  // the largest word
  ASSERT_TRUE(dialog.FillBtnClick());
  const IniFile h = History();
  for (auto [key, value] :
       std::vector<std::pair<const char*, const char*>>{{"StartAdd", "16"},
                                                        {"EndAdd", "47"},
                                                        {"UserCheck", "0"},
                                                        {"Select", "2"},
                                                        {"UserData", "255"},
                                                        {"UserWordData", "65535"},
                                                        {"OK", "1"},
                                                        {"UserByteWordSel", "0"}}) {
    EXPECT_EQ(h.ReadString("FillDataDlg", key, ""), value) << key;
  }
  ops.FillSource(1);
  const std::vector<uint8_t> before = ops.Buffer();
  RunFillCommand(ctx, [&] {
    Opened().CancelBtnClick();
    return false;
  });
  EXPECT_EQ(History().ReadString("FillDataDlg", "OK", ""), "0");
  EXPECT_EQ(ops.Buffer(), before);
  // A cancel whose OK := "0" did not reach the file fills nothing either.
  History().WriteString("FillDataDlg", "OK", "1");
  RunFillCommand(ctx, [] { return false; });
  EXPECT_EQ(ops.Buffer(), before);
}

TEST_F(FillDialogTest, RangeButtons) {
  FillDialogLogic dialog = Opened();
  dialog.FileRangeBtnClick();
  EXPECT_EQ(Texts(), std::vector<std::string>{"No File Selected!!"});
  ops.buffer.SetFileSize(0x20);
  dialog.FileRangeBtnClick();
  EXPECT_EQ(dialog.fields().range.end8, "000001F");
  EXPECT_EQ(dialog.fields().range.end16, "000000F");
  // Max takes the buffer as it is, smaller than the device or not.
  ASSERT_TRUE(ops.buffer.ResizeBuffer(0x100, messages));
  dialog.MaxRangeBtnClick();
  EXPECT_EQ(ops.buffer.BufSize(), 0x500u);
  EXPECT_EQ(dialog.fields().range.end8, "00004FF");
  EXPECT_EQ(dialog.fields().range.end16, "000027F");
}

// ------------------------------------------------------------ Get Check Sum

class SumDialogTest : public FillDialogTest {};

TEST_F(SumDialogTest, TheCommandSumsTheChosenRange) {
  ops.FillSource(0x31);
  const std::vector<uint8_t> b = ops.Buffer();
  const uint32_t sum = std::accumulate(b.begin() + 0x10, b.begin() + 0x200, uint32_t{0});
  RunSumCommand(ctx, [&] {
    SumDialogLogic dialog(ctx);
    dialog.FormCreate();
    EXPECT_TRUE(dialog.fields().range_enabled);
    SetRange(dialog.fields().range, "10", "1FF");
    EXPECT_TRUE(dialog.GetSumBtnClick());
    return true;
  });
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, strprintf("SUM : %08X", sum));
  EXPECT_EQ(messages.boxes[0].caption, "Get Check Sum");
  EXPECT_EQ(ops.buffer.SumValue(), sum);
  EXPECT_EQ(History().ReadString("GetSumDlg", "StartAdd", ""), "16");
  EXPECT_EQ(History().ReadString("GetSumDlg", "EndAdd", ""), "511");

  // Cancelled: no sum.
  messages.boxes.clear();
  RunSumCommand(ctx, [&] {
    SumDialogLogic(ctx).ExitBtnClick();
    return false;
  });
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_EQ(History().ReadString("GetSumDlg", "OK", ""), "0");
}

TEST_F(SumDialogTest, ATypedRangeIncludesItsEndByteAlsoWhenItIsOneDeviceLong) {
  // Device 32 KB: the range 10 .. 8010 is one device size long end - start.
  ops.FillSource(0x31);
  const std::vector<uint8_t> b = ops.Buffer();
  for (const char* end : {"8010", "800F"}) {
    SCOPED_TRACE(end);
    const size_t last = std::stoul(end, nullptr, 16);
    const uint32_t sum = std::accumulate(b.begin() + 0x10, b.begin() + last + 1, uint32_t{0});
    messages.boxes.clear();
    RunSumCommand(ctx, [&] {
      SumDialogLogic dialog(ctx);
      dialog.FormCreate();
      SetRange(dialog.fields().range, "10", end);
      return dialog.GetSumBtnClick();
    });
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, strprintf("SUM : %08X", sum));
    EXPECT_EQ(ops.buffer.SumEnd(), int32_t(last));
  }
}

TEST_F(SumDialogTest, RefusedRangesWriteNothing) {
  struct Row {
    const char *start, *end, *caption;
  };
  const std::string before = HistoryBytes();
  for (const Row& row :
       {Row{"0", "10400", "ERROR"}, Row{"10", "10", "Error"}, Row{"0", "0", "Error"}}) {
    SCOPED_TRACE(row.end);
    messages.boxes.clear();
    SumDialogLogic dialog(ctx);
    SetRange(dialog.fields().range, row.start, row.end);
    EXPECT_FALSE(dialog.GetSumBtnClick());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, "Input Value Error !");
    EXPECT_EQ(messages.boxes[0].caption, row.caption);
    EXPECT_EQ(HistoryBytes(), before);
  }
  SumDialogLogic dialog(ctx);
  dialog.FillFileRangeClick();
  EXPECT_EQ(Texts().back(), "No File Seleted!!");
}

// Where the programmer keeps the data: the dialog's range is the device's,
// the "IC" sum is the programmer's, and OK sums nothing in the buffer.
class HeldSumTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    f.buffer.SetHistoryIniPath(Path("History_1.ini"));
    f.Select(
        testing::DeviceShape{.data_width = "0xFFFF", .max_address = 0x7FFF, .option_fuse_type = 1});
    f.FillSource(0x2D);
    f.view.SetSum("00000000");
    f.ClearRecords();
  }
  testing::OpsFixture f;
};

TEST_F(HeldSumTest, TheDialogOffersOnlyTheDeviceAndOkSumsNothing) {
  SumDialogLogic dialog(f.ctx);
  dialog.FormCreate();
  EXPECT_FALSE(dialog.fields().range_enabled);
  EXPECT_EQ(dialog.fields().range.end8, "000FFFF");  // 2 x the last address + 2 bytes
  EXPECT_EQ(dialog.fields().range.end16, "0007FFF");
  RunSumCommand(f.ctx, [&] {
    SumDialogLogic d(f.ctx);
    d.FormCreate();
    EXPECT_TRUE(d.GetSumBtnClick());
    return true;
  });
  EXPECT_TRUE(f.events.empty());
  EXPECT_TRUE(f.wire.lines.empty());
}

TEST_F(HeldSumTest, IcShowsTheProgrammersSumOfTheUploadedBuffer) {
  SumDialogLogic dialog(f.ctx);
  dialog.FormCreate();
  dialog.fields().range = {"0000010", "0000020", "0000008", "0000010"};
  dialog.FillICSizeBBClick();
  const std::string sum = strprintf("%08X", f.unit().HeldChecksum());
  EXPECT_EQ(f.view.SumText(), sum);
  EXPECT_EQ(f.view.SumTextColour(), SumColour::Red);
  EXPECT_THAT(f.Messages(), ElementsAre(sum));
  EXPECT_EQ(dialog.fields().range.end8, "000FFFF");
  const std::vector<uint8_t> b = f.Buffer();
  ASSERT_GE(f.unit().data_ram().size(), 0x10000u);
  EXPECT_TRUE(std::equal(b.begin(), b.begin() + 0x10000, f.unit().data_ram().begin()));
  ASSERT_GE(f.wire.lines.size(), 2u);
  EXPECT_THAT(std::vector<std::string>(f.wire.lines.end() - 2, f.wire.lines.end()),
              ElementsAre("OUT 49 4000 0B00 0", "IN 42 0000 0000 16"));

  // The same sum again: the field is no longer red.
  dialog.FillICSizeBBClick();
  EXPECT_EQ(f.view.SumTextColour(), SumColour::WindowText);

  // While another operation runs, "IC" sends and shows nothing.
  f.ClearRecords();
  OperationGuard running(f.lock);
  dialog.fields().range.end8 = "0000020";
  dialog.FillICSizeBBClick();
  EXPECT_TRUE(f.wire.lines.empty());
  EXPECT_TRUE(f.events.empty());
  EXPECT_EQ(dialog.fields().range.end8, "0000020");
}

TEST_F(HeldSumTest, AFailedRequestShowsNoSumAndKeepsTheFields) {
  struct Row {
    const char* name;
    uint8_t request;
    std::vector<std::string> messages;
  };
  const Row rows[] = {
      {"the sum does not start", request::kRun, {"Error 49! Command Fail"}},
      {"the status cannot be read", request::kStatus, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    f.ClearRecords();
    f.unit().FailRequest(row.request);
    SumDialogLogic dialog(f.ctx);
    const RangeFields typed{"0000010", "0000020", "0000008", "0000010"};
    dialog.fields().range = typed;
    dialog.FillICSizeBBClick();
    EXPECT_EQ(f.view.SumText(), "00000000");
    EXPECT_EQ(f.Messages(), row.messages);
    EXPECT_EQ(f.FailSounds(), 1);  // StepFail
    EXPECT_EQ(dialog.fields().range.end8, typed.end8);
    f.unit().ClearFaults();
  }
}

}  // namespace
}  // namespace quenlet
