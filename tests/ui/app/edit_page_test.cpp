// The buffer editor on the main window's Edit page, over the application
// object on a program folder of its own with the simulated unit: a hex file
// loaded, a byte typed into the grid, the file saved and read back by
// srec_cat; the page's commands; and screenshots of the page.
#include "ui/app/edit_page.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QButtonGroup>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <span>
#include <vector>

#include "app/app_fixture.h"
#include "buffer/save_pipeline.h"
#include "programmer/single_shot_ops.h"
#include "support/srec_cat.h"
#include "ui/app/main_form.h"
#include "ui/app/skin_stack.h"
#include "ui/buffer/block_dialog_window.h"
#include "ui/buffer/hex_address_edit.h"
#include "ui/buffer/hex_grid.h"
#include "ui/buffer/load_dialog_window.h"
#include "ui/buffer/load_save_windows.h"
#include "ui/buffer/main_edit.h"
#include "ui/buffer/save_dialog_window.h"
#include "ui/buffer/show_sum_window.h"
#include "ui/controls/history_combo_box.h"
#include "ui/dialog_script.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

class EditPageTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    Write("INI\\AMD\\AM29F010.ini", kByteDevice);
    ChooseDevice("INI\\AMD\\AM29F010.ini");
    Start();
    form = std::make_unique<TMainForm>(*app);
    editor = EmbedBufferEditor(*form);
    load_save = std::make_unique<QtLoadSaveWindows>(form.get(), app->operations(), *app, chooser,
                                                    show_sum, Path("quenlet.ini"));
    app->SetLoadSaveWindows(load_save.get());
    form->show();
    Settle();  // the queued restore
    // The summary after a load would wait for its OK.
    auto* closer = new QTimer(&show_sum);
    QObject::connect(closer, &QTimer::timeout, &show_sum, [this] {
      if (show_sum.isVisible()) show_sum.OKClick();
    });
    closer->start(10);
  }
  void TearDown() override {
    app->SetLoadSaveWindows(nullptr);
    form.reset();
    load_save.reset();
    AppTest::TearDown();
  }
  void Trigger(const char* item) { editor->PopupMenu()->findChild<QAction*>(item)->trigger(); }
  void ClickCell(HexGrid grid, int row, int column) {
    THexGrid* g = editor->Grid(grid);
    QTest::mouseClick(g, Qt::LeftButton, {}, g->CellRect(row, column).center().toPoint());
  }

  FakeFileChooser chooser;
  TShowSum show_sum;
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<QtLoadSaveWindows> load_save;
  TMainEdit* editor = nullptr;
};

TEST_F(EditPageTest, AByteTypedOnTheEditPageIsInTheSavedFile) {
  // 20 bytes 00 .. 13 at address 0.
  const std::string in = Path("in.hex");
  WriteFile(in,
            ":10000000000102030405060708090A0B0C0D0E0F78\r\n"
            ":0400100010111213A6\r\n:00000001FF\r\n");
  app->EditClick();
  Settle();  // the window follows on the next turn of the event loop
  ASSERT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->parentWidget(), form->EditorHost());

  chooser.answers = {in};
  WhenShown<TLoadDlg>([](TLoadDlg& d) {
    Click(d.BitBtn1());  // Browse
    Click(d.BitBtn2());  // Load
  });
  Trigger("LoadFile");
  ASSERT_EQ(app->buffer().Bytes()[0x13], 0x13);
  editor->RefreshView();
  testing::SaveScreenshot(*form, "main-edit-8bit");

  ClickCell(HexGrid::Hex8, 1, 5);
  QTest::keyClicks(editor->Grid(HexGrid::Hex8), "a5");
  EXPECT_EQ(app->buffer().Bytes()[5], 0xA5);

  const std::string out = Path("out.hex");
  WhenShown<TLoadSaveDlg>([&out](TLoadSaveDlg& d) {
    Type(d.NameEdit()->lineEdit(), QString::fromStdString(out));
    Click(d.FormatGroup()->button(kSaveIntelHex));
    Type(d.SourceSAdd(), "0");
    Type(d.SourceEAdd(), "13");
    Click(d.BitBtn2());  // Save
  });
  Trigger("SaveFile");
  ASSERT_TRUE(SrecCat(out + " -intel -o " + Path("out.bin") + " -binary"));
  std::string expected(20, '\0');
  for (int i = 0; i < 20; ++i) expected[size_t(i)] = char(i);
  expected[5] = char(0xA5);
  // Hex files are written in whole rows of 32 bytes.
  EXPECT_EQ(ReadFile(Path("out.bin")).substr(0, 20), expected);
  EXPECT_TRUE(messages.errors.empty());
}

TEST_F(EditPageTest, ThePageCommandsOpenTheEditorsDialogs) {
  app->EditClick();
  for (const char* name : {"CheckSum", "Block", "Fill"}) {
    ASSERT_NE(form->Stack(name), nullptr) << name;
    EXPECT_TRUE(form->Stack(name)->isEnabled()) << name;
  }
  bool opened = false;
  WhenShown<TBlockDialog>(
      [&](TBlockDialog& d) {
        EXPECT_EQ(d.parentWidget(), form.get());
        Click(d.ExitBtn());
      },
      &opened);
  // The command runs from the event loop.
  ClickPicture(form->Stack("Block"));
  EXPECT_TRUE(opened);
  EXPECT_EQ(History().ReadString("BlockDlg", "OK", ""), "0");

  // While the program is busy (a device operation lets the window take
  // clicks) the popup's commands do nothing.
  History().WriteString("ResizeDlg", "OK", "");
  bool modal = false;
  QTimer::singleShot(0, [&] {
    if (QWidget* m = QApplication::activeModalWidget()) {
      modal = true;
      QTest::keyClick(m, Qt::Key_Escape);
    }
  });
  {
    OperationGuard busy(app->operations().lock);
    Trigger("Resize");
  }
  Settle();
  EXPECT_FALSE(modal);
  EXPECT_EQ(History().ReadString("ResizeDlg", "OK", ""), "");
}

// A device operation lets the window take clicks and keys while it runs:
// none of the editor's own changes may reach the buffer then.
TEST_F(EditPageTest, TypingSwapsAndDataSetsLeaveTheBufferAloneWhileAnOperationRuns) {
  app->EditClick();
  const std::span<uint8_t> bytes = app->buffer().Block();
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7 + 3);
  const std::vector<uint8_t> before(bytes.begin(), bytes.end());
  auto type = [this](HexGrid grid, int page, const char* keys) {
    return [this, grid, page, keys] {
      editor->MainEditPage()->setCurrentIndex(page);
      ClickCell(grid, 1, 0);
      QTest::keyClicks(editor->Grid(grid), keys);
    };
  };
  auto click = [this](const char* button) {
    return [this, button] { editor->findChild<QToolButton*>(button)->click(); };
  };
  const struct {
    const char* name;
    std::function<void()> act;
  } actions[] = {
      {"hex byte", type(HexGrid::Hex8, TMainEdit::kEdit8BitSheet, "a5")},
      {"character", type(HexGrid::Char8, TMainEdit::kEdit8BitSheet, "Z")},
      {"hex word", type(HexGrid::Hex16, TMainEdit::kEdit16BitSheet, "1234")},
      {"byte swap", click("ByteSwapButton")},
      {"word swap", click("WordSwapButton")},
      {"double swap", click("DoubleSwapButton")},
      {"even bytes", [this] { Trigger("Even"); }},
      {"odd bytes", [this] { Trigger("Odd"); }},
      {"swapped pairs", [this] { Trigger("SwapByte"); }},
  };
  for (const auto& a : actions) {
    SCOPED_TRACE(a.name);
    int acted = 0;
    pump.on_pump = [&](int) {
      ASSERT_TRUE(app->Busy());
      a.act();
      ++acted;
    };
    check_1Click(app->operations(), 0);
    pump.on_pump = nullptr;
    EXPECT_GT(acted, 0) << "the operation let the queue run";
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), before.begin()));

    // Once it is over the same action does change the buffer.
    a.act();
    EXPECT_FALSE(std::equal(bytes.begin(), bytes.end(), before.begin()));
    std::copy(before.begin(), before.end(), bytes.begin());
  }
}

TEST_F(EditPageTest, ScreenshotsOfTheWordViewAndTheInformationPage) {
  app->EditClick();
  editor->MainEditPage()->setCurrentIndex(TMainEdit::kEdit16BitSheet);
  Settle();
  testing::SaveScreenshot(*form, "main-edit-16bit");
  editor->MainEditPage()->setCurrentIndex(TMainEdit::kBufInfSheet);
  Settle();
  testing::SaveScreenshot(*form, "main-edit-info");
  // The Copy page hides the editor with its page.
  app->CopyBtnClick();
  Settle();
  EXPECT_FALSE(editor->isVisible());
}

}  // namespace
}  // namespace quenlet::testing
