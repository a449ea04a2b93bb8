// The load and save dialogs on the offscreen platform, alone and through
// the editor's Load and Save commands.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <numeric>

#include "app/load_save_fixture.h"
#include "buffer/format_detect.h"
#include "buffer/load_pipeline.h"
#include "buffer/save_pipeline.h"
#include "platform/program_paths.h"
#include "support/srec_cat.h"
#include "ui/buffer/hex_address_edit.h"
#include "ui/buffer/load_dialog_window.h"
#include "ui/buffer/load_save_windows.h"
#include "ui/buffer/save_dialog_window.h"
#include "ui/buffer/show_sum_window.h"
#include "ui/controls/history_combo_box.h"
#include "ui/controls/window_frame.h"
#include "ui/dialog_script.h"
#include "ui/screenshot.h"

namespace quenlet {
namespace {

using testing::Click;
using ::testing::Contains;
using ::testing::Not;
using testing::SrecCat;
using testing::TextsOf;
using testing::Type;
using testing::WhenShown;

void Type(THistoryComboBox* box, const QString& text) {
  Type(box->lineEdit(), text);
}

class LoadSaveDialogsTest : public testing::LoadSaveFixture {
 protected:
  void SetUp() override {
    LoadSaveFixture::SetUp();
    paths_ = std::make_unique<ProgramPaths>(dir_.string());
    windows_ = std::make_unique<QtLoadSaveWindows>(nullptr, ctx, host, chooser_, show_sum_,
                                                   Path("quenlet.ini"));
    context_ = std::make_unique<LoadSaveContext>(
        LoadSaveContext{ops.buffer, ops.state, *paths_, messages, ops.progress, *windows_});
    // The summary window would wait for OK.
    QTimer* closer = new QTimer(&show_sum_);
    QObject::connect(closer, &QTimer::timeout, &show_sum_, [this] {
      if (show_sum_.isVisible()) show_sum_.OKClick();
    });
    closer->start(10);
  }

  uint32_t Sum(size_t first, size_t count) const {
    auto b = ops.buffer.Bytes();
    return std::accumulate(b.begin() + first, b.begin() + first + count, 0u);
  }

  testing::FakeFileChooser chooser_;
  TShowSum show_sum_;
  std::unique_ptr<ProgramPaths> paths_;
  std::unique_ptr<QtLoadSaveWindows> windows_;
  std::unique_ptr<LoadSaveContext> context_;
};

TEST_F(LoadSaveDialogsTest, LoadDialogHasItsTextsAndLimits) {
  TLoadDlg dialog(env, chooser_, Path("quenlet.ini"));
  ASSERT_TRUE(dialog.Created());
  EXPECT_EQ(dialog.windowTitle(), "Load File");
  EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
  const QStringList texts = TextsOf(dialog);
  for (const char* text : {"File :",
                           "Browse",
                           "Format",
                           "Auto Detect",
                           "MS-DOS fn.exe",
                           "MS-DOS fn.com",
                           "Binary / Machine Code",
                           "Intel  HEX",
                           "Motorola HEX",
                           "Tektlonix HEX",
                           "POF",
                           "Source Select :",
                           "Start Address :",
                           "End Address :",
                           "Distination Select :",
                           "Fill unused with",
                           "Data Set",
                           "8 Bits",
                           "16 Bits",
                           "32 Bits",
                           "Every",
                           "EVEN",
                           "ODD",
                           "1'st",
                           "2'nd",
                           "3'rd",
                           "4'th",
                           "Load",
                           "Cancel"}) {
    EXPECT_TRUE(texts.contains(text)) << text;
  }
  EXPECT_EQ(dialog.SourceSAdd()->text(), "000000");
  EXPECT_EQ(dialog.SourceEAdd()->text(), "000000");
  EXPECT_EQ(dialog.DistSAdd()->text(), "00000000");
  EXPECT_EQ(dialog.UserFill()->text(), "FF");
  EXPECT_TRUE(dialog.UnuserFillCheck()->isChecked());
  EXPECT_EQ(dialog.FormatGroup()->checkedId(), kLoadAutoDetect);
  EXPECT_EQ(dialog.NameEdit()->insertPolicy(), QComboBox::NoInsert);
  EXPECT_EQ(dialog.NameEdit()->IniSection(), "BinaryEditLoadFileHistory");
  EXPECT_EQ(dialog.NameEdit()->MaxHistoryLength(), 10);
  for (HexAddressEdit* edit : {dialog.SourceSAdd(), dialog.SourceEAdd(), dialog.DistSAdd()}) {
    EXPECT_EQ(edit->MaxDigits(), kAddressDigits);
    EXPECT_FALSE(edit->accessibleName().isEmpty());
  }
  dialog.show();
  testing::SaveScreenshot(dialog, "load_dialog");
  Type(dialog.UserFill(), "100");
  EXPECT_EQ(dialog.UserFill()->text(), "10");  // a fill of 100 cannot be typed
}

TEST_F(LoadSaveDialogsTest, SaveDialogHasItsTexts) {
  TLoadSaveDlg dialog(env, chooser_, Path("quenlet.ini"));
  EXPECT_EQ(dialog.windowTitle(), "Save File");
  EXPECT_FALSE(dialog.windowFlags() & Qt::FramelessWindowHint);
  const QStringList texts = TextsOf(dialog);
  for (const char* text :
       {"Name :", "Browse", "Format", "Binary/Machine Code", "Intel Hex", "Motorola S1",
        "Motorola S2", "Motorola S3", "Tektlonix HEX", "Save Range  :", "Start Address [HEX-Byte]:",
        "End Address [HEX-Byte] :", "File", "Max", "IC", "Save", "Cancel"}) {
    EXPECT_TRUE(texts.contains(text)) << text;
  }
  EXPECT_EQ(dialog.NameEdit()->IniSection(), "BinSaveFileHistory");
  EXPECT_EQ(dialog.NameEdit()->Text(), "None");  // no file loaded yet
  dialog.show();
  Click(dialog.FillICSizeBB());
  EXPECT_EQ(dialog.SourceEAdd()->text(), "0007FFF");
  testing::SaveScreenshot(dialog, "save_dialog");
}

TEST_F(LoadSaveDialogsTest, BothHaveTheHeadingBandAndBrowseWhereTheirFieldPoints) {
  std::filesystem::create_directory(dir_ / "elsewhere");
  const std::string named = File("elsewhere/chip.bin", "xy");
  TLoadDlg load(env, chooser_, Path("quenlet.ini"));
  TLoadSaveDlg save(env, chooser_, Path("quenlet.ini"));
  const struct {
    QDialog* dialog;
    THistoryComboBox* name;
    QPushButton* browse;
  } dialogs[] = {{&load, load.NameEdit(), load.BitBtn1()},
                 {&save, save.NameEdit(), save.BitBtn1()}};
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.dialog->windowTitle().toStdString());
    d.dialog->show();
    auto* band = d.dialog->findChild<QWidget*>("TitleBand");
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->geometry(), QRect(0, 0, d.dialog->width(), kTitleBandHeight));
    for (QWidget* w : d.dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (w == band || w->objectName() == "WindowEdge" || !w->isVisible()) continue;
      EXPECT_GE(w->y(), kTitleBandHeight) << w->objectName().toStdString();
    }
    Type(d.name->lineEdit(), QString::fromStdString(named));
    Click(d.browse);
    ASSERT_FALSE(chooser_.requests.empty());
    EXPECT_EQ(chooser_.requests.back().initial_dir, Path("elsewhere") + "/");
    EXPECT_EQ(chooser_.requests.back().initial_name, "chip.bin");
    d.dialog->hide();
  }
}

TEST_F(LoadSaveDialogsTest, AfterAnIntelHexLoadTheDialogProposesFormatFourAndTheWholeFile) {
  const std::string hex = File("first.hex",
                               ":10000000000102030405060708090A0B0C0D0E0F78\r\n"
                               ":0400100010111213A6\r\n:00000001FF\r\n");
  chooser_.answers = {hex};
  WhenShown<TLoadDlg>([](TLoadDlg& d) {
    Click(d.BitBtn1());  // Browse
    Click(d.BitBtn2());
  });
  ASSERT_TRUE(LoadFileClick(*context_));
  ASSERT_EQ(chooser_.requests.size(), 1u);
  EXPECT_TRUE(chooser_.requests[0].must_exist);
  EXPECT_EQ(chooser_.requests[0].filter, kDataFileFilter);
  EXPECT_EQ(ops.buffer.Bytes()[0x13], 0x13);
  EXPECT_EQ(ops.view.SumText(), strprintf("%08X", Sum(0, 0x8000)));
  EXPECT_EQ(host.load_path, hex);

  const std::string size = HexAddressText(testing::ReadFile(hex).size() - 1);
  WhenShown<TLoadDlg>([&](TLoadDlg& d) {
    EXPECT_EQ(d.NameEdit()->Text(), hex);
    EXPECT_EQ(d.FormatGroup()->checkedId(), kLoadIntelHex);
    EXPECT_EQ(d.SourceSAdd()->text(), "000000");
    EXPECT_EQ(d.SourceEAdd()->text(), QString::fromStdString(size));
    EXPECT_EQ(d.NameEdit()->Items(), std::vector<std::string>{hex});
    testing::SaveScreenshot(d, "load_dialog_intel_hex");
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  EXPECT_FALSE(LoadFileClick(*context_));
}

TEST_F(LoadSaveDialogsTest, FifoFolderAndTypedNamesNeverHangOrNag) {
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(dir_ / "folder");
  History().WriteString("LoadDlg", "OK", "1");  // an earlier load
  const std::string before = HistoryBytes();
  WhenShown<TLoadDlg>([&](TLoadDlg& d) {
    Type(d.NameEdit(), QString::fromStdString(Path("no/such/file.bin")));
    EXPECT_TRUE(messages.boxes.empty());  // no box per keystroke
    for (const char* name : {"fifo", "folder"}) {
      messages.boxes.clear();
      Type(d.NameEdit(), QString::fromStdString(Path(name)));
      Click(d.BitBtn2());
      EXPECT_EQ(Texts(), std::vector<std::string>{"Not Found File ! "}) << name;
      EXPECT_TRUE(d.isVisible());
    }
    EXPECT_EQ(HistoryBytes(), before);
    // A name that cannot be typed, set into the field: refused the same way.
    messages.boxes.clear();
    d.NameEdit()->SetText(File("x\ny.bin", "xy"));
    Click(d.BitBtn2());
    EXPECT_EQ(Texts(), std::vector<std::string>{"Not Found File ! "});
    EXPECT_EQ(HistoryBytes(), before);
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  const uint32_t size_before = ops.buffer.BufSize();
  EXPECT_FALSE(LoadFileClick(*context_));
  EXPECT_EQ(History().ReadString("LoadDlg", "OK", ""), "0");
  EXPECT_EQ(ops.state.LoadCancelled, 1);
  EXPECT_EQ(ops.buffer.BufSize(), size_before);
}

TEST_F(LoadSaveDialogsTest, EscapeAndCloseNeverReplayTheLastLoadOrSave) {
  const std::string data = File("data.bin", std::string(0x100, '\x11'));
  WhenShown<TLoadDlg>([&](TLoadDlg& d) {
    Type(d.NameEdit(), QString::fromStdString(data));
    Click(d.BitBtn2());
  });
  ASSERT_TRUE(LoadFileClick(*context_));
  ops.buffer.Bytes()[0] = 0x99;  // an edit after the load

  WhenShown<TLoadDlg>([](TLoadDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); });
  EXPECT_FALSE(LoadFileClick(*context_));
  EXPECT_EQ(ops.buffer.Bytes()[0], 0x99);

  const std::string out = Path("out.bin");
  WhenShown<TLoadSaveDlg>([&](TLoadSaveDlg& d) {
    Type(d.NameEdit(), QString::fromStdString(out));
    Type(d.SourceEAdd(), "FF");
    Click(d.BitBtn2());
  });
  ASSERT_TRUE(SaveFileClick(*context_));
  std::filesystem::remove(out);
  for (bool by_close : {false, true}) {
    WhenShown<TLoadSaveDlg>([by_close](TLoadSaveDlg& d) {
      if (by_close) {
        d.close();  // the frame's close button
      } else {
        QTest::keyClick(&d, Qt::Key_Escape);
      }
    });
    EXPECT_FALSE(SaveFileClick(*context_));
    EXPECT_EQ(History().ReadString("SaveDlg", "OK", ""), "0");
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

TEST_F(LoadSaveDialogsTest, SaveCancelledOnAnExistingFileWritesNothing) {
  const std::string keep = File("keep.bin", "precious");
  const std::string before = HistoryBytes();
  messages.answers = {MessageResult::Cancel};
  WhenShown<TLoadSaveDlg>([&](TLoadSaveDlg& d) {
    Type(d.NameEdit(), QString::fromStdString(keep));
    Type(d.SourceEAdd(), "FF");
    Click(d.BitBtn2());
    EXPECT_EQ(Texts(), std::vector<std::string>{"File is Exist ! Are sure to save ?"});
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(HistoryBytes(), before);
    Click(d.BitBtn3());
  });
  EXPECT_FALSE(SaveFileClick(*context_));
  EXPECT_EQ(testing::ReadFile(keep), "precious");
  EXPECT_EQ(History().ReadString("SaveDlg", "OK", ""), "0");
}

TEST_F(LoadSaveDialogsTest, LanesShowDataModeAsItIsAndCancelKeepsAChange) {
  ops.buffer.SetDataMode(kDataOddBytes);
  {
    TLoadDlg dialog(env, chooser_, Path("quenlet.ini"));
    dialog.show();
    dialog.repaint();
    EXPECT_EQ(dialog.DataSet()->checkedId(), kDataOddBytes);
    EXPECT_EQ(ops.buffer.DataMode(), kDataOddBytes);  // a repaint changes nothing
  }
  ops.buffer.SetDataMode(kDataSwapPairs);  // no radio for it
  WhenShown<TLoadDlg>([&](TLoadDlg& d) {
    EXPECT_EQ(d.DataSet()->checkedId(), -1);
    Click(d.findChild<QRadioButton*>("th_32"));
    EXPECT_EQ(ops.buffer.DataMode(), kDataGroupByte3);
    Click(d.BitBtn3());
  });
  EXPECT_FALSE(LoadFileClick(*context_));
  EXPECT_EQ(ops.buffer.DataMode(), kDataGroupByte3);
}

TEST_F(LoadSaveDialogsTest, EnterInTheNameFieldLoads) {
  const std::string data = File("data.bin", std::string(0x40, '\x22'));
  WhenShown<TLoadDlg>([&](TLoadDlg& d) {
    Type(d.NameEdit(), QString::fromStdString(data));
    EXPECT_EQ(d.SourceEAdd()->text(), "000003F");
    QTest::keyClick(d.NameEdit()->lineEdit(), Qt::Key_Return);
  });
  ASSERT_TRUE(LoadFileClick(*context_));
  EXPECT_EQ(ops.buffer.Bytes()[0x3F], 0x22);
  EXPECT_EQ(IniFile(Path("quenlet.ini")).ReadString("BinaryEditLoadFileHistory", "H0", ""), data);
}

TEST_F(LoadSaveDialogsTest, ADamagedFileLeavesTheBufferAsItWasSizeIncluded) {
  // A range larger than the device, of a hex file with a bad record.
  std::string text;
  for (int i = 0; i < 0x1000; ++i) {
    text += ":10" + strprintf("%04X", i * 16) + "00" + std::string(32, '0') + "00\r\n";
  }
  const std::string bad = File("bad.hex", text);
  const uint32_t size_before = ops.buffer.BufSize();
  const MainFormState state_before = ops.state;
  WhenShown<TLoadDlg>([&](TLoadDlg& d) {
    Type(d.NameEdit(), QString::fromStdString(bad));
    Click(d.FormatGroup()->button(kLoadIntelHex));
    Click(d.BitBtn2());
  });
  EXPECT_FALSE(LoadFileClick(*context_));
  EXPECT_FALSE(Texts().empty());
  // The load path and the history still name what the buffer holds.
  EXPECT_EQ(host.load_path, "");
  EXPECT_FALSE(std::filesystem::exists(Path("quenlet.ini")));
  EXPECT_EQ(ops.buffer.BufSize(), size_before);
  EXPECT_EQ(ops.state.BufferSize, state_before.BufferSize);
  EXPECT_EQ(ops.state.DeviceBufferSize, state_before.DeviceBufferSize);
  EXPECT_EQ(host.device_sizings, 0);

  // The same range of a good file is sized by the dialog's decision.
  const std::string good = File("good.bin", text);
  WhenShown<TLoadDlg>([&](TLoadDlg& d) {
    Type(d.NameEdit(), QString::fromStdString(good));
    Click(d.FormatGroup()->button(kLoadBinary));
    Click(d.BitBtn2());
  });
  ASSERT_TRUE(LoadFileClick(*context_));
  EXPECT_EQ(host.load_path, good);
  EXPECT_EQ(IniFile(Path("quenlet.ini")).ReadString("BinaryEditLoadFileHistory", "H0", ""), good);
  const uint32_t range = static_cast<uint32_t>(text.size() - 1);
  EXPECT_EQ(ops.state.DeviceBufferSize, range);
  EXPECT_EQ(ops.device.IcBufferSize, range);
  // The dialog's size, then the range reader's growth of 1024.
  EXPECT_EQ(ops.buffer.BufSize(), range + 2 * DataBuffer::kSizeExtra);
}

// File names are bytes: a Latin-1 name and a Big5 one are neither UTF-8.
TEST_F(LoadSaveDialogsTest, NamesThatAreNotUtf8LoadSaveAndStayInTheHistory) {
  const std::string latin1 = File("caf\xE9.bin", std::string(0x10, '\x41'));
  const std::string big5 = File("\xA4\xA4\xA4\xE5.bin", std::string(0x20, '\x42'));
  const std::string saved = Path("sav\xE9.bin");
  IniFile names(Path("quenlet.ini"));
  names.WriteString("BinaryEditLoadFileHistory", "H0", big5);
  names.WriteString("BinSaveFileHistory", "H0", saved);
  History().WriteString("LoadDlg", "Name", latin1);  // the last load, proposed again

  WhenShown<TLoadDlg>([&](TLoadDlg& d) {
    EXPECT_EQ(d.NameEdit()->Text(), latin1);
    EXPECT_EQ(d.NameEdit()->currentText().toStdString(), Path("caf\xC3\xA9.bin"));
    EXPECT_EQ(d.SourceEAdd()->text(), "000000F");
    Click(d.BitBtn2());
  });
  ASSERT_TRUE(LoadFileClick(*context_));
  EXPECT_EQ(ops.buffer.Bytes()[0xF], 0x41);
  EXPECT_EQ(host.load_path, latin1);

  // Picked from the history.
  WhenShown<TLoadDlg>([&](TLoadDlg& d) {
    ASSERT_EQ(d.NameEdit()->Items(), (std::vector<std::string>{latin1, big5}));
    d.NameEdit()->setCurrentIndex(1);
    emit d.NameEdit()->activated(1);
    EXPECT_EQ(d.SourceEAdd()->text(), "000001F");
    Click(d.BitBtn2());
  });
  ASSERT_TRUE(LoadFileClick(*context_));
  EXPECT_EQ(ops.buffer.Bytes()[0x1F], 0x42);
  EXPECT_EQ(host.load_path, big5);

  WhenShown<TLoadSaveDlg>([&](TLoadSaveDlg& d) {
    EXPECT_EQ(d.NameEdit()->Text(), big5);  // the last loaded file
    d.NameEdit()->setCurrentIndex(0);       // the save history's name
    Type(d.SourceEAdd(), "1F");
    Click(d.BitBtn2());
  });
  ASSERT_TRUE(SaveFileClick(*context_));
  EXPECT_EQ(testing::ReadFile(saved), std::string(0x20, '\x42'));
  EXPECT_THAT(Texts(), Not(Contains("Not Found File ! ")));

  const IniFile after(Path("quenlet.ini"));
  EXPECT_EQ(after.ReadString("BinaryEditLoadFileHistory", "H0", ""), big5);
  EXPECT_EQ(after.ReadString("BinaryEditLoadFileHistory", "H1", ""), latin1);
  EXPECT_EQ(after.ReadString("BinSaveFileHistory", "H0", ""), saved);
}

TEST_F(LoadSaveDialogsTest, ALoadPathOfZeroBecomesTheNameWithItsRange) {
  File("0", std::string(16, '\x33'));
  host.load_path = "0";
  WhenShown<TLoadDlg>([](TLoadDlg& d) {
    EXPECT_EQ(d.NameEdit()->Text(), "0");
    EXPECT_EQ(d.SourceEAdd()->text(), "000000F");
    Click(d.BitBtn2());
  });
  ASSERT_TRUE(LoadFileClick(*context_));
  EXPECT_EQ(host.load_path, Path("0"));
  EXPECT_EQ(ops.buffer.Bytes()[0xF], 0x33);
}

TEST_F(LoadSaveDialogsTest, NoDeviceChosenOpensNoDialog) {
  host.no_device = true;
  EXPECT_FALSE(LoadFileClick(*context_));
  EXPECT_EQ(ops.state.LoadNeedsDevice, 1);
  EXPECT_EQ(Texts(), std::vector<std::string>{"Please Selete IC..."});
}

TEST_F(LoadSaveDialogsTest, SrecCatFileLoadsAndSavesAsS3ThatSrecCatReadsBack) {
  std::string bytes(0x8000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + (i >> 8));
  File("image.bin", bytes);
  ASSERT_TRUE(SrecCat(Path("image.bin") + " -binary -o " + Path("image.hex") + " -intel"));
  const std::string hex = Path("image.hex");

  WhenShown<TLoadDlg>([&](TLoadDlg& d) {
    Type(d.NameEdit(), QString::fromStdString(hex));
    Click(d.BitBtn2());  // Auto Detect
  });
  ASSERT_TRUE(LoadFileClick(*context_));
  ASSERT_EQ(std::string(ops.buffer.Bytes().begin(), ops.buffer.Bytes().begin() + 0x8000), bytes);
  EXPECT_EQ(ops.view.SumText(), strprintf("%08X", Sum(0, 0x8000)));

  const std::string s3 = Path("copy.s3");
  WhenShown<TLoadSaveDlg>([&](TLoadSaveDlg& d) {
    Type(d.NameEdit(), QString::fromStdString(s3));
    Click(d.FormatGroup()->button(kSaveMotorolaS3));
    Click(d.FillICSizeBB());
    Click(d.BitBtn2());
  });
  ASSERT_TRUE(SaveFileClick(*context_));
  ASSERT_TRUE(SrecCat(s3 + " -motorola -o " + Path("back.bin") + " -binary"));
  EXPECT_EQ(testing::ReadFile(Path("back.bin")), bytes);
  EXPECT_EQ(IniFile(Path("quenlet.ini")).ReadString("BinSaveFileHistory", "H0", ""), s3);
}

}  // namespace
}  // namespace quenlet
