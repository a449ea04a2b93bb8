// The block, resize, fill and checksum dialogs on the offscreen platform,
// alone and through the editor's popup commands; and their screenshots.
#include <gtest/gtest.h>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

#include "app/load_save_fixture.h"
#include "ui/buffer/block_dialog_window.h"
#include "ui/buffer/buffer_dialogs.h"
#include "ui/buffer/fill_sum_dialog_windows.h"
#include "ui/buffer/hex_address_edit.h"
#include "ui/buffer/main_edit.h"
#include "ui/dialog_script.h"
#include "ui/screenshot.h"

namespace quenlet {
namespace {

using testing::Click;
using testing::Pick;
using testing::TextsOf;
using testing::Type;
using testing::WhenShown;

class BufferDialogsTest : public testing::LoadSaveFixture {
 protected:
  void ExpectTexts(QWidget& dialog, std::initializer_list<const char*> texts) {
    const QStringList shown = TextsOf(dialog);
    for (const char* text : texts) EXPECT_TRUE(shown.contains(text)) << text;
  }
  // Every address field takes seven digits and has a name a screen reader says.
  void ExpectAddressFields(QWidget& dialog, int count) {
    const auto edits = dialog.findChildren<HexAddressEdit*>();
    int addresses = 0;
    for (HexAddressEdit* edit : edits) {
      EXPECT_FALSE(edit->accessibleName().isEmpty()) << edit->objectName().toStdString();
      addresses += edit->MaxDigits() == kAddressDigits;
    }
    EXPECT_EQ(addresses, count);
  }
};

TEST_F(BufferDialogsTest, BlockDialogShowsItsTextsAndKeepsTheTwinsInStep) {
  TBlockDialog dialog(ctx);
  EXPECT_EQ(dialog.windowTitle(), "Block Process");
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
  ExpectTexts(dialog, {"Source Range :", "Start Address :", "End Address :", "8 Bit :", "16 Bit :",
                       "Distination Range:", "Action", "Copy", "Move", "Swap", "Max", "File ", "IC",
                       "OK", "Cancel", "Buffer Size :", "(Bytes)", "Resize"});
  ExpectAddressFields(dialog, 6);  // the byte destination among them
  EXPECT_EQ(dialog.BufferSizeLabel()->text(), "0010400");
  EXPECT_EQ(dialog.ActionGroup()->checkedId(), kBlockCopy);
  dialog.show();
  testing::SaveScreenshot(dialog, "block_dialog");

  Type(dialog.StartAddEdit16(), "800");
  EXPECT_EQ(dialog.StardAddEdit()->text(), "0001000");
  Type(dialog.StardAddEdit(), "1001");
  EXPECT_EQ(dialog.StartAddEdit16()->text(), "0000800");

  Type(dialog.StardAddEdit(), "100");
  Type(dialog.EndAddEdit(), "1FF");
  Type(dialog.DistSAdd8(), "1000");
  EXPECT_EQ(dialog.DistSAddLabel()->text(), "00010FF");
  EXPECT_EQ(dialog.DistSAdd16Label()->text(), "000087F");
  Type(dialog.DistSAdd8(), "123456789");
  EXPECT_EQ(dialog.DistSAdd8()->text(), "12345678");
  testing::SaveScreenshot(dialog, "block_dialog_eight_digits");

  // The reset after "Range Error!!" is the program's writing: the byte end
  // stays N - 1 and is not rewritten from its word twin.
  Type(dialog.EndAddEdit(), "0");
  Click(dialog.GetSumBtn());
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Texts(), std::vector<std::string>{"Range Error!!"});
  EXPECT_EQ(dialog.StardAddEdit()->text(), "0000000");
  EXPECT_EQ(dialog.EndAddEdit()->text(), "0007FFF");
  EXPECT_EQ(dialog.EndStartAdd16()->text(), "0003FFF");
}

TEST_F(BufferDialogsTest, EscapeIsCancelInEveryDialog) {
  struct Row {
    const char* section;
    std::function<std::unique_ptr<QDialog>()> make;
  };
  const Row rows[] = {
      {"BlockDlg", [this] { return std::make_unique<TBlockDialog>(ctx); }},
      {"ResizeDlg", [this] { return std::make_unique<TResizeBufDialog>(ctx); }},
      {"FillDataDlg", [this] { return std::make_unique<TFillDataDialog>(ctx); }},
      {"GetSumDlg", [this] { return std::make_unique<TGetSumDialog>(ctx); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.section);
    History().WriteString(row.section, "OK", "1");
    std::unique_ptr<QDialog> dialog = row.make();
    WhenShown<QDialog>([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(dialog->exec(), QDialog::Rejected);
    EXPECT_EQ(History().ReadString(row.section, "OK", ""), "0");
  }
}

TEST_F(BufferDialogsTest, ResizeDialogOpensOnTheSizeAndResizes) {
  TResizeBufDialog dialog(ctx);
  EXPECT_EQ(dialog.windowTitle(), "Buffer Resize.");
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  ExpectTexts(dialog, {"Buffer Size :", "Bytes", "[ 10000H ～ FFFFFF]", "OK", "Cancel"});
  EXPECT_EQ(dialog.BufSizeEdit()->text(), "0010000");
  dialog.show();
  testing::SaveScreenshot(dialog, "resize_dialog");
  Type(dialog.BufSizeEdit(), "20000");
  Click(dialog.OKBtn());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(ops.buffer.BufSize(), 0x20400u);
  EXPECT_EQ(History().ReadString("ResizeDlg", "OK", ""), "1");
}

TEST_F(BufferDialogsTest, FillDialogEnablesWhatTheUserValueNeeds) {
  TFillDataDialog dialog(ctx);
  EXPECT_EQ(dialog.windowTitle(), "Fill Data");
  ExpectTexts(dialog, {"Range :",
                       "8 Bit",
                       "16 Bit",
                       "Start Address :",
                       "End Address :",
                       "IC",
                       "Max",
                       "File",
                       "Fill Data Select",
                       "All Bit 1",
                       "All Bit 0",
                       "Random Data",
                       "Sequential Byte",
                       "Sequential Word",
                       "User define[BYTE] :",
                       "User Define",
                       "Byte",
                       "Word",
                       "OK",
                       "Cancel"});
  ExpectAddressFields(dialog, 4);
  EXPECT_EQ(dialog.FillDataGroup()->checkedId(), kFillAllBit1);
  EXPECT_TRUE(dialog.FillDataGroupBox()->isEnabled());
  EXPECT_FALSE(dialog.UserDefineEdit()->isEnabled());
  EXPECT_FALSE(dialog.UserDefWordEdit()->isEnabled());
  EXPECT_FALSE(dialog.DefSetRadioGroupBox()->isEnabled());
  dialog.show();
  testing::SaveScreenshot(dialog, "fill_dialog");

  Pick(dialog.UserCheckBox());
  EXPECT_FALSE(dialog.FillDataGroupBox()->isEnabled());
  EXPECT_TRUE(dialog.DefSetRadioGroupBox()->isEnabled());
  EXPECT_TRUE(dialog.UserDefineEdit()->isEnabled());
  EXPECT_FALSE(dialog.UserDefWordEdit()->isEnabled());
  Type(dialog.UserDefineEdit(), "100");
  EXPECT_EQ(dialog.UserDefineEdit()->text(), "10");  // a byte of 100 cannot be typed
  Pick(dialog.DefSetRadioGroup()->button(1));        // Word
  EXPECT_FALSE(dialog.UserDefineEdit()->isEnabled());
  EXPECT_TRUE(dialog.UserDefWordEdit()->isEnabled());
  testing::SaveScreenshot(dialog, "fill_dialog_user_word");
  Type(dialog.UserDefWordEdit(), "ffff");
  EXPECT_EQ(dialog.UserDefWordEdit()->text(), "FFFF");
}

TEST_F(BufferDialogsTest, ChecksumDialogOfAHeldDataDeviceOffersOnlyIc) {
  TGetSumDialog plain(ctx);
  EXPECT_EQ(plain.windowTitle(), "Get Check Sum");
  ExpectTexts(plain, {"Range :", "8 Bit :", "16 Bit :", "Start Address :", "End Address :", "Max",
                      "File ", "IC", "OK", "Cancel"});
  ExpectAddressFields(plain, 4);
  EXPECT_TRUE(plain.StardAddEdit()->isEnabled());
  plain.show();
  testing::SaveScreenshot(plain, "checksum_dialog");

  ops.device.Option_Fuse_Type = 1;
  TGetSumDialog held(ctx);
  for (QWidget* w : std::initializer_list<QWidget*>{held.StardAddEdit(), held.EndAddEdit(),
                                                    held.StartAddEdit16(), held.EndStartAdd16(),
                                                    held.FillMaxRange(), held.FillFileRange()}) {
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  }
  EXPECT_TRUE(held.FillICSizeBB()->isEnabled());
}

// The editor's popup items open the dialogs over the main window and run
// what they confirmed.
class EditorCommandsTest : public BufferDialogsTest {
 protected:
  void SetUp() override {
    BufferDialogsTest::SetUp();
    editor = std::make_unique<TMainEdit>(ops.buffer, ops.state, messages, ops.progress);
    TMainEdit::Commands commands;
    AddBufferDialogCommands(commands, ctx, editor.get());
    editor->SetCommands(commands);
    editor->show();
  }
  void TearDown() override {
    editor.reset();
    BufferDialogsTest::TearDown();
  }
  void Trigger(const char* item) { editor->PopupMenu()->findChild<QAction*>(item)->trigger(); }

  std::unique_ptr<TMainEdit> editor;
};

TEST_F(EditorCommandsTest, BlockMovesWhatTheDialogChose) {
  auto bytes = ops.buffer.Bytes();
  for (int i = 0; i < 4; ++i) bytes[size_t(i)] = uint8_t(i + 1);
  WhenShown<TBlockDialog>([owner = editor.get()](TBlockDialog& d) {
    EXPECT_EQ(d.parentWidget(), owner);
    Type(d.StardAddEdit(), "0");
    Type(d.EndAddEdit(), "3");
    Type(d.DistSAdd8(), "2");
    Pick(d.ActionGroup()->button(kBlockMove));
    Click(d.GetSumBtn());
  });
  Trigger("Block");
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 6),
            (std::vector<uint8_t>{0, 0, 1, 2, 3, 4}));
  EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(EditorCommandsTest, FillAndSumThroughThePopup) {
  WhenShown<TFillDataDialog>([](TFillDataDialog& d) {
    Type(d.SAddEdit8(), "10");
    Type(d.EAddEdit8(), "2F");
    Pick(d.FillDataGroup()->button(kFillAllBit0));
    Click(d.FillBtn());
  });
  ops.FillSource(9);
  Trigger("FillData");
  auto bytes = ops.buffer.Bytes();
  EXPECT_TRUE(
      std::all_of(bytes.begin() + 0x10, bytes.begin() + 0x30, [](uint8_t b) { return b == 0; }));
  EXPECT_NE(bytes[0x30], 0);

  WhenShown<TGetSumDialog>([](TGetSumDialog& d) {
    Type(d.StardAddEdit(), "10");
    Type(d.EndAddEdit(), "30");
    Click(d.GetSumBtn());
  });
  Trigger("GetSum");
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, strprintf("SUM : %08X", unsigned(bytes[0x30])));
}

TEST_F(EditorCommandsTest, ResizeThroughThePopupRedrawsTheEditor) {
  WhenShown<TResizeBufDialog>([](TResizeBufDialog& d) {
    Type(d.BufSizeEdit(), "100000");
    Click(d.OKBtn());
  });
  Trigger("Resize");
  EXPECT_EQ(ops.buffer.BufSize(), 0x100400u);
  EXPECT_EQ(editor->Edit8BitScrollBar()->maximum(), int(editor->View().LastStartRow()));
}

}  // namespace
}  // namespace quenlet
