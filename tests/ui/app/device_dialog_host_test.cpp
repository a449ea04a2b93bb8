// The Type step of the main window with the device dialog, over the
// application object on a program folder of its own with the simulated unit.
#include "ui/app/device_dialog_host.h"
#include "ui/controls/window_placement.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>
#include <QTimer>

#include "app/app_fixture.h"
#include "app/create_page.h"
#include "app/run_sequences.h"
#include "ui/app/create_page_dialog.h"
#include "ui/app/main_form.h"
#include "ui/app/skin_stack.h"
#include "ui/device/select_ic_dialog.h"
#include "ui/dialog_script.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

class DeviceDialogHostTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    Write("Select.ini",
          "[ITEM]\r\nValue=1\r\n0001=AMD\r\n[AMD]\r\nValue=2\r\n0001=AM29F010\r\n"
          "0002=AM29F040\r\nAM29F010=AM29F010.ini\r\nAM29F040=AM29F010.ini\r\n");
    Write("INI\\AM29F010.ini", kByteDevice);
    Start();
    form = std::make_unique<TMainForm>(*app);
    host = std::make_unique<DeviceDialogHost>(*app, *form);
    form->show();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  void TearDown() override {
    host.reset();
    form.reset();
    AppTest::TearDown();
  }
  // The Type step with `script` run once the dialog is up; a dialog left
  // open is closed with Escape.
  void TypeStep(std::function<void(TSelectICDialog&)> script) {
    TSelectICDialog* dialog = &host->Dialog();
    QTimer::singleShot(0, dialog, [dialog, script] {
      ASSERT_TRUE(dialog->isVisible());
      script(*dialog);
      if (dialog->isVisible()) QTest::keyClick(dialog, Qt::Key_Escape);
    });
    ASSERT_TRUE(app->StepClick(Step::Type, Layer::h));
  }
  static void PickRow(QListView* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
  }

  std::unique_ptr<TMainForm> form;
  std::unique_ptr<DeviceDialogHost> host;
};

TEST_F(DeviceDialogHostTest, OkRelabelsTheDeviceCancelDoesNot) {
  EXPECT_EQ(app->SelectedType()[0], "None");
  TypeStep([](TSelectICDialog& dialog) {
    // The dialog lies over the Copy page of the main window.
    EXPECT_EQ(dialog.parentWidget(), dialog.parentWidget()->window());
    // No history: the dialog opens on "General Type", which this catalogue lacks.
    EXPECT_EQ(dialog.NumListBox()->model()->rowCount(), 0);
    PickRow(dialog.MaunListBox(), 0);
    PickRow(dialog.NumListBox(), 1);
    SaveScreenshot(dialog, "select_ic_dialog_over_main_window");
    QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
  });
  EXPECT_TRUE(Shown().empty()) << Shown().front();
  EXPECT_EQ(app->SelectedType()[0], "AMD");
  EXPECT_EQ(app->SelectedType()[1], "AM29F040");
  EXPECT_EQ(app->device().Name, "AM29F010");
  EXPECT_EQ(History().ReadString("SelectDlg", "OK", ""), "1");
  EXPECT_TRUE(SaveScreenshot(*form, "main-after-device-chosen"));

  TypeStep([](TSelectICDialog& dialog) {
    PickRow(dialog.NumListBox(), 0);
    QTest::mouseClick(dialog.CancelBtn(), Qt::LeftButton);
  });
  EXPECT_EQ(app->SelectedType()[1], "AM29F040");
  EXPECT_EQ(History().ReadString("SelectDlg", "OK", ""), "0");
}

TEST_F(DeviceDialogHostTest, TheCreatePageShowsTheDialogOverItsPanel) {
  QtCreatePageDialog create_dialog(*host, *form);
  CreatePage page(*app, create_dialog);
  TSelectICDialog* dialog = &host->Dialog();
  QPoint shown_at;
  QTimer::singleShot(0, dialog, [&, dialog] {
    shown_at = dialog->pos();
    PickRow(dialog->MaunListBox(), 0);
    PickRow(dialog->NumListBox(), 1);
    QTest::mouseClick(dialog->OKBtn(), Qt::LeftButton);
  });
  ASSERT_TRUE(app->RunCommand(app->commands().create_type));
  // At the panel where the dialog fits there, else centred over the main window.
  const WindowPlacement over_panel =
      WindowPlacement::AtOffset(form.get(), QtCreatePageDialog::kCreatePanelPosition);
  EXPECT_EQ(shown_at, PlacedFrame(dialog->frameGeometry().size(), PlacementWorkArea(over_panel),
                                  form->frameGeometry(), over_panel)
                          .topLeft());
  EXPECT_EQ(app->SelectedType()[1], "AM29F040");
  const IniFile project(Path("Project.ini"));
  EXPECT_EQ(project.ReadString("Temp", "Vendor", ""), "AMD");
  EXPECT_EQ(project.ReadString("Temp", "ID", ""), "AM29F040");
}

// A stop leaves Fail on the window until a device is chosen: the next
// device has run nothing yet.
TEST_F(DeviceDialogHostTest, AStopsFailGoesWhenTheNextDeviceIsChosen) {
  auto choose = [this](int part) {
    TypeStep([part](TSelectICDialog& dialog) {
      PickRow(dialog.MaunListBox(), 0);
      PickRow(dialog.NumListBox(), part);
      QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    });
  };
  choose(0);
  InstallRunSequences(*app);
  app->state().SoundOn = 0;
  pump.on_pump = [this](int) {
    if (app->state().RunArmed == 1) {
      pump.on_pump = nullptr;
      app->RunStop();
    }
  };
  ASSERT_TRUE(app->RunCommand(app->commands().auto_run));
  EXPECT_THAT(messages.texts(), ::testing::Contains(kUserStopText));
  form->Refresh();
  EXPECT_EQ(form->ResultView()->TopLayer(), "Fail");
  EXPECT_TRUE(SaveScreenshot(*form, "main-stopped-before-new-device"));

  choose(1);
  EXPECT_EQ(app->SelectedType()[1], "AM29F040");
  form->Refresh();
  EXPECT_EQ(form->ResultView()->TopLayer(), "");
  for (Indicator result : {Indicator::Pass, Indicator::Wait, Indicator::Fail}) {
    EXPECT_FALSE(app->pictures().Visible(result));
  }
  EXPECT_TRUE(SaveScreenshot(*form, "main-stopped-then-new-device"));
}

// The Type step from the keyboard: one Space opens the dialog at once, and
// whether it ends with OK or Escape the tile has its plain look and the
// focus (with its ring) back.
TEST_F(DeviceDialogHostTest, FromTheKeyboardTypeOpensAtOnceAndGivesTheTileBack) {
  SkinStack* type = form->Stack("type_n");
  ASSERT_NE(type, nullptr);
  for (bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "OK" : "Escape");
    QApplication::setActiveWindow(form.get());
    type->setFocus(Qt::TabFocusReason);
    bool seen = false;
    WhenShown<TSelectICDialog>(
        [ok](TSelectICDialog& dialog) {
          if (!ok) return;  // closed with Escape
          PickRow(dialog.MaunListBox(), 0);
          PickRow(dialog.NumListBox(), 0);
          QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
        },
        &seen);
    QTest::keyClick(type, Qt::Key_Space);
    for (int i = 0; i < 20 && !seen; ++i) QTest::qWait(20);
    Settle();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(host->Dialog().isVisible());
    EXPECT_EQ(app->SelectedType()[1], "AM29F010");  // chosen by the OK, kept by Escape
    EXPECT_EQ(type->TopLayer(), "type_n");
    EXPECT_TRUE(type->hasFocus());
  }
  EXPECT_TRUE(SaveScreenshot(*form, "main-type-tile-focus"));
}

// The fuse editor follows every chosen device: a device without fuses is
// asked for it too, so the editor of an earlier fuse device goes.
TEST_F(DeviceDialogHostTest, OkOnADeviceWithoutFusesLetsTheFuseEditorGo) {
  int asked = 0;
  app->commands().create_fuse_editor = [&] { ++asked; };
  app->state().FuseEditorCreated = 1;
  TypeStep([](TSelectICDialog& dialog) {
    PickRow(dialog.MaunListBox(), 0);
    PickRow(dialog.NumListBox(), 0);
    QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
  });
  EXPECT_EQ(app->device().Name, "AM29F010");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(app->state().FuseEditorCreated, 0);
  app->commands().create_fuse_editor = nullptr;
}

TEST_F(DeviceDialogHostTest, NormalPictureGivesWayToTheHighlightedOne) {
  app->pictures().Show(Step::Type, Layer::n);
  ASSERT_TRUE(app->StepClick(Step::Type, Layer::n));
  EXPECT_FALSE(app->pictures().Visible(Step::Type, Layer::n));
  EXPECT_FALSE(host->Dialog().isVisible());
}

}  // namespace
}  // namespace quenlet::testing
