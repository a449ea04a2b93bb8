// The Copy page at work: the real main window with its run sequences, step
// handlers, load and save dialogs and fuse editor, over the application on
// a program folder holding the sample library, with the simulated unit.
#include "ui/app/copy_page_wiring.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/run_fixture.h"
#include "buffer/fuse_map.h"
#include "platform/strprintf.h"
#include "ui/app/edit_page.h"
#include "ui/app/main_form.h"
#include "ui/app/skin_stack.h"
#include "ui/buffer/fuse_editor_window.h"
#include "ui/buffer/hex_grid.h"
#include "ui/buffer/load_dialog_window.h"
#include "ui/buffer/load_save_windows.h"
#include "ui/buffer/main_edit.h"
#include "ui/buffer/show_sum_window.h"
#include "ui/controls/history_combo_box.h"
#include "ui/controls/pal_show_box.h"
#include "ui/dialog_script.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;

class CopyPageTest : public RunTest {
 protected:
  TMainForm& Open(const std::string& device, const std::string& process_mode) {
    CopyLibrary();
    ChooseDevice("INI/" + device + ".ini", process_mode);
    IniFile history = History();
    history.WriteString("SelectDlg", "Manufacturer", "Quenlet Demo");
    history.WriteString("SelectDlg", "TypeNum", device);
    Start();
    form = std::make_unique<TMainForm>(*app);
    // As the program sets up the load and save dialogs.
    show_sum = std::make_unique<TShowSum>(form.get());
    load_save = std::make_unique<QtLoadSaveWindows>(form.get(), app->operations(), *app, chooser,
                                                    *show_sum, Path("quenlet.ini"));
    app->SetLoadSaveWindows(load_save.get());
    wiring = InstallCopyPage(*app, *form, chooser, *load_save);
    form->show();
    Settle();  // the queued restore
    Forget();
    return *form;
  }
  void TearDown() override {
    if (app) app->SetLoadSaveWindows(nullptr);
    load_save.reset();
    show_sum.reset();
    form.reset();
    RunTest::TearDown();
  }
  SkinStack* Stack(const std::string& name) const {
    SkinStack* s = form->Stack(name);
    EXPECT_NE(s, nullptr) << name;
    return s;
  }
  FakeFileChooser chooser;
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<TShowSum> show_sum;
  std::unique_ptr<QtLoadSaveWindows> load_save;
  CopyPageWiring* wiring = nullptr;
};

TEST_F(CopyPageTest, PicturesClickedByMouseRunTheirStepAndAPassCounts) {
  Open("QD27-256", "+C+P+V");
  EXPECT_TRUE(Stack("Run")->isEnabled());
  EXPECT_TRUE(Stack("AutoRun")->isEnabled());

  SkinStack* blank = Stack("check_n");
  ClickPicture(blank);
  EXPECT_THAT(Operations(), ElementsAre(0x04));
  EXPECT_EQ(blank->TopLayer(), "check_p");
  EXPECT_EQ(form->ResultView()->TopLayer(), "Pass");

  // AutoRun: the pressed picture while the button is down, then the pass.
  Forget();
  SkinStack* auto_run = Stack("AutoRun");
  Hover(auto_run);
  EXPECT_EQ(auto_run->TopLayer(), "AutoRun_Hint");
  Press(auto_run);
  EXPECT_EQ(auto_run->TopLayer(), "AutoRun_Down");
  bool shot = false;
  pump.on_pump = [&](int) {
    // The program step at work.
    if (!shot && app->pictures().Top(Step::Program) == Layer::w) {
      shot = true;
      EXPECT_TRUE(SaveScreenshot(*form, "copy-pass-running"));
    }
  };
  Release(auto_run);
  EXPECT_EQ(auto_run->TopLayer(), "AutoRun");
  EXPECT_EQ(form->CountLabel()->text(), "0");
  Settle();
  EXPECT_TRUE(shot);
  EXPECT_THAT(Operations(), ElementsAre(0x04, 0x05, 0x01));
  EXPECT_EQ(form->CountLabel()->text(), "1");
  EXPECT_EQ(form->ResultView()->TopLayer(), "Pass");
  for (const char* step : {"check_n", "prog_n", "verify_n"}) {
    EXPECT_THAT(Stack(step)->TopLayer(), ::testing::EndsWith("_p")) << step;
  }
  EXPECT_TRUE(SaveScreenshot(*form, "copy-pass-finished"));

  // The counter's reset, and a progress position above a byte.
  pump.on_pump = nullptr;
  QTest::mouseClick(form->findChild<QPushButton*>("ZeroBtn"), Qt::LeftButton);
  Settle();
  EXPECT_EQ(form->CountLabel()->text(), "0");
  app->pictures().SetProgressMax(400);
  app->pictures().SetProgressPosition(300);
  Settle();
  EXPECT_EQ(form->Progress()->value(), 300);
}

TEST_F(CopyPageTest, StopPressedWhileAPassRunsShowsFail) {
  Open("QD27-256", "+C+P+V");
  pump.on_pump = [&](int) {
    if (Operations().size() == 1) {
      pump.on_pump = nullptr;
      ClickPicture(Stack("Stop"));
    }
  };
  ClickPicture(Stack("AutoRun"));
  EXPECT_THAT(Operations(), ElementsAre(0x04, 0x05));
  EXPECT_THAT(messages.texts(), ::testing::Contains(kUserStopText));
  EXPECT_EQ(form->ResultView()->TopLayer(), "Fail");
  EXPECT_EQ(form->CountLabel()->text(), "0");
  EXPECT_TRUE(SaveScreenshot(*form, "copy-pass-stopped"));
}

// A pass that fails shows Fail where the operator looks, and the failing
// step its failure: a blank check of a chip that was programmed.
TEST_F(CopyPageTest, AFailedPassShowsFail) {
  Open("QD27-256", "+C");
  app->buffer().Bytes()[0x20] = 0x3C;
  ClickPicture(Stack("prog_n"));
  ASSERT_EQ(Stack("prog_n")->TopLayer(), "prog_p");
  ClickPicture(Stack("AutoRun"));
  EXPECT_THAT(Operations(), ElementsAre(0x05, 0x04));
  EXPECT_EQ(Stack("check_n")->TopLayer(), "check_f");
  EXPECT_EQ(form->ResultView()->TopLayer(), "Fail");
  EXPECT_EQ(form->CountLabel()->text(), "0");
  EXPECT_TRUE(SaveScreenshot(*form, "copy-pass-failed"));
}

// While a step runs only Stop takes input: a double click on a fuse, the
// editor's Fill, a key into the hex editor, a Type click and a Parameters
// click change nothing and open nothing. Once the step has ended they act.
TEST_F(CopyPageTest, WhileAProgramStepRunsNothingButStopTakesInput) {
  Open("QDG-16", "0");
  TMainEdit* hex = EmbedBufferEditor(*form);
  Tform2* fuses = wiring->FuseEditor();
  ASSERT_NE(fuses, nullptr);
  form->PlaceFuseEditor(fuses);
  int types = 0, parameters = 0;
  app->commands().step(Step::Type) = [&](Layer) { ++types; };
  app->commands().parameters = [&] { ++parameters; };
  form->Refresh();
  // A cell of the hex editor chosen beforehand, for the keys.
  THexGrid* grid = hex->Grid(HexGrid::Hex8);
  app->EditClick();
  Settle();
  QTest::mouseClick(grid, Qt::LeftButton, {}, grid->CellRect(1, 0).center().toPoint());
  app->CopyBtnClick();
  Settle();
  // Whatever the clicks open is closed again, and counted.
  int opened = 0;
  auto* closer = new QTimer(form.get());
  QObject::connect(closer, &QTimer::timeout, [&opened] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      ++opened;
      QTest::keyClick(modal, Qt::Key_Escape);
    }
  });
  closer->start(10);
  // The press of assistive technology, which posts no input event.
  auto press = [](QWidget* widget, const QString& action) {
    QAccessible::queryAccessibleInterface(widget)->actionInterface()->doAction(action);
  };
  auto operate = [&] {
    QWidget* cells = fuses->PalShowBox1();
    QTest::mouseClick(cells, Qt::LeftButton, {}, QPoint(11, 11));
    QTest::mouseDClick(cells, Qt::LeftButton, {}, QPoint(11, 11));
    QTest::mouseClick(fuses->findChild<QAbstractButton*>("Full_data"), Qt::LeftButton);
    QTest::keyClicks(grid, "a5");
    ClickPicture(Stack("type_n"));
    ClickPicture(Stack("Multi"));
    press(fuses->findChild<QAbstractButton*>("Full_data"),
          QAccessibleActionInterface::pressAction());
    press(Stack("Multi"), QAccessibleActionInterface::pressAction());
    press(form->Box(RunBox::CheckBox2), QAccessibleActionInterface::toggleAction());
    QTest::qWait(250);  // the presses click after 100 ms
  };
  const bool blank_ticked = app->pictures().BoxTicked(RunBox::CheckBox2);
  const std::vector<uint8_t> map(app->fuse_map().Fuses().begin(), app->fuse_map().Fuses().end());
  const uint8_t byte = app->buffer().Bytes()[0];
  bool operated = false;
  pump.on_pump = [&](int) {
    if (operated) return;
    operated = true;
    ASSERT_TRUE(app->Busy());
    operate();
  };
  ASSERT_TRUE(app->StepClick(Step::Program, Layer::n));
  pump.on_pump = nullptr;
  ASSERT_TRUE(operated);
  EXPECT_THAT(Operations(), ElementsAre(0x05));
  EXPECT_TRUE(std::equal(map.begin(), map.end(), app->fuse_map().Fuses().begin()));
  EXPECT_EQ(app->buffer().Bytes()[0], byte);
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(types, 0);
  EXPECT_EQ(parameters, 0);
  Settle();
  EXPECT_EQ(types, 0);
  EXPECT_EQ(parameters, 0);
  // Neither tile was touched either: no highlight, no press.
  EXPECT_EQ(Stack("type_n")->TopLayer(), "type_n");
  EXPECT_EQ(Stack("Multi")->TopLayer(), "Multi");
  EXPECT_EQ(app->pictures().BoxTicked(RunBox::CheckBox2), blank_ticked);
  EXPECT_EQ(form->Box(RunBox::CheckBox2)->isChecked(), blank_ticked);

  // Afterwards the same input acts, twice for Fill and Parameters.
  operate();
  Settle();
  EXPECT_FALSE(std::equal(map.begin(), map.end(), app->fuse_map().Fuses().begin()));
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(types, 1);
  EXPECT_EQ(parameters, 2);
  EXPECT_NE(app->pictures().BoxTicked(RunBox::CheckBox2), blank_ticked);
  closer->stop();
}

TEST_F(CopyPageTest, LoadStepOpensTheLoadDialogAndLoadsTheChosenFile) {
  Open("QD27-256", "0");
  const std::string sample = Path("Samples/QD27-256.HEX");
  bool seen = false, summary = false;
  // The summary after the load, as the dialog asks for it.
  WhenShown<TShowSum>([](TShowSum& sum) { sum.OKClick(); }, &summary);
  WhenShown<TLoadDlg>(
      [&](TLoadDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Load File");
        dialog.NameEdit()->lineEdit()->clear();
        QTest::keyClicks(dialog.NameEdit()->lineEdit(), QString::fromStdString(sample));
        QTest::mouseClick(dialog.BitBtn2(), Qt::LeftButton);
      },
      &seen);
  // The step's normal picture gives way to the highlighted one, which loads.
  SkinStack* load = Stack("load_n");
  Hover(load);
  EXPECT_EQ(load->TopLayer(), "load_h");
  ClickPicture(load);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(summary);
  EXPECT_THAT(Shown(), ElementsAre("This is Intel Hex format !"));
  EXPECT_EQ(form->LoadPathEdit()->text().toStdString(), sample);
  EXPECT_NE(form->SumEdit()->text(), "00000000");
  EXPECT_EQ(IniFile(Path("History_1.ini")).ReadString("LoadDlg", "OK", ""), "1");
}

TEST_F(CopyPageTest, FuseDeviceRoundTripsItsJedecFileThroughTheChip) {
  Open("QDG-16", "0");
  Tform2* editor = wiring->FuseEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(editor->parentWidget(), form.get());

  // The sample's file (notes, pins and the default state of another tool's
  // files) through the Load step, and saved in our own form.
  chooser.answers = {Path("Samples/QDG-16.JED")};
  ClickPicture(Stack("load_n"));
  const std::vector<uint8_t> map(app->fuse_map().Fuses().begin(), app->fuse_map().Fuses().end());
  ASSERT_EQ(map.size(), 2194u);
  EXPECT_NE(std::count(map.begin(), map.end(), 1), 0);
  const std::string ours = Path("ours.jed");
  chooser.answers = {ours};
  ClickPicture(Stack("save_n"));

  // Ours loaded, programmed, the map cleared and read back from the chip.
  chooser.answers = {ours};
  ClickPicture(Stack("load_n"));
  ASSERT_EQ(editor->Editor().JedFileName(), ours);
  ClickPicture(Stack("prog_n"));
  EXPECT_THAT(Operations(), ElementsAre(0x05));
  app->fuse_map().FillFuses(0, app->fuse_map().FuseCount() - 1, 0);
  app->pictures().TickBox(RunBox::check_confirm, false);
  ClickPicture(Stack("read_n"));
  EXPECT_THAT(Operations(), ElementsAre(0x05, 0x01));
  EXPECT_TRUE(std::equal(map.begin(), map.end(), app->fuse_map().Fuses().begin()));

  chooser.answers = {Path("saved.jed")};
  ClickPicture(Stack("save_n"));
  EXPECT_TRUE(ReadFile(Path("saved.jed")) == ReadFile(ours)) << "saved file differs";
  // Each load showed the fuse checksum: the same map, the same sum.
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[0], Shown()[1]);

  // Edit shows the editor beside the steps.
  ClickPicture(Stack("edit_n"));
  EXPECT_TRUE(editor->isVisible());
  // At its place, or as far left as it must be to lie wholly inside.
  EXPECT_EQ(editor->y(), TMainForm::kFuseEditorPosition.y());
  EXPECT_LE(editor->x(), TMainForm::kFuseEditorPosition.x());
  EXPECT_TRUE(form->rect().contains(editor->geometry()));
  EXPECT_TRUE(SaveScreenshot(*form, "main-fuse-editor"));
}

// A read stores what the chip holds by the map's own rule: a blank chip
// (every cell 0xFF) reads as fuses of 1, a programmed one as its fuses. The
// grid, the checksum field and the saved file then show the same fuses, and
// the file reads back into them.
TEST_F(CopyPageTest, FuseReadShowsTheSameFusesInGridSumAndFile) {
  Open("QDG-16", "0");
  Tform2* editor = wiring->FuseEditor();
  ASSERT_NE(editor, nullptr);
  ClickPicture(Stack("edit_n"));
  app->pictures().TickBox(RunBox::check_confirm, false);
  FuseMap& map = app->fuse_map();
  const uint32_t count = map.FuseCount();
  ASSERT_EQ(count, 2194u);  // rows of 44
  std::vector<uint8_t> pattern(count);
  for (size_t n = 0; n < count; ++n) pattern[n] = n % 3 == 0 || n % 44 == 43;

  struct Case {
    const char* name;
    std::vector<uint8_t> fuses;
  };
  for (const Case& c :
       {Case{"blank", std::vector<uint8_t>(count, 1)}, Case{"programmed", pattern}}) {
    SCOPED_TRACE(c.name);
    sim->unit().chip().InsertBlank();
    if (c.fuses == pattern) {
      map.StoreFuses(0, pattern);
      ClickPicture(Stack("prog_n"));
    }
    map.FillFuses(0, count - 1, 0);
    editor->DrawFuseView();
    ClickPicture(Stack("read_n"));
    EXPECT_TRUE(std::equal(c.fuses.begin(), c.fuses.end(), map.Fuses().begin()));

    for (int r = 0; r < 8; ++r) {
      for (int col = 0; col < 24; ++col) {
        ASSERT_EQ(editor->PalShowBox1()->ReadArrValue(r, col), c.fuses[size_t(r * 44 + col)]);
      }
    }
    uint32_t sum = 0;
    for (size_t n = 0; n < count; ++n) sum += c.fuses[n] ? 1u << (n % 8) : 0;
    EXPECT_EQ(form->SumEdit()->text().toStdString(), strprintf("%08X", sum));
    if (c.fuses != pattern) {
      EXPECT_TRUE(SaveScreenshot(*editor, "fuse_editor_blank_chip_read"));
    }

    const std::string file = Path(std::string(c.name) + ".jed");
    chooser.answers = {file};
    ClickPicture(Stack("save_n"));
    const std::string text = ReadFile(file);
    std::string listed;
    for (size_t at = 0; (at = text.find("\r\nL", at)) != std::string::npos;) {
      at = text.find("  ", at) + 2;
      listed += text.substr(at, text.find('*', at) - at);
    }
    std::string bits;
    for (uint8_t fuse : c.fuses) bits += fuse ? '1' : '0';
    EXPECT_EQ(listed, bits);
    EXPECT_NE(text.find(strprintf("\r\nC%04X*\r\n", sum & 0xFFFF)), std::string::npos);

    map.FillFuses(0, count - 1, 0);
    chooser.answers = {file};
    ClickPicture(Stack("load_n"));
    EXPECT_TRUE(std::equal(c.fuses.begin(), c.fuses.end(), map.Fuses().begin()));
    EXPECT_EQ(form->SumEdit()->text().toStdString(), strprintf("%08X", sum));
  }
}

}  // namespace
}  // namespace quenlet::testing
