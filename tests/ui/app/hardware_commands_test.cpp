// The hardware commands in the main window: Options opens the hardware-option
// window, the Copy page's trigger shows and hides the engineering panel.
#include "ui/app/hardware_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/app_fixture.h"
#include "ui/app/main_form.h"
#include "ui/app/skin_stack.h"
#include "ui/dialog_script.h"
#include "ui/programmer/hardware_option_window.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

class HardwareCommandsTest : public AppTest {
 protected:
  void Open() {
    Start();
    form = std::make_unique<TMainForm>(*app);
    commands = std::make_unique<HardwareCommands>(*app, *form);
    form->show();
    Settle();
  }
  void TearDown() override {
    commands.reset();
    form.reset();
    AppTest::TearDown();
  }

  std::unique_ptr<TMainForm> form;
  std::unique_ptr<HardwareCommands> commands;
};

TEST_F(HardwareCommandsTest, OptionsOpensTheHardwareWindowOverTheMainWindow) {
  Open();
  SkinStack* setup = form->Stack("Setup");
  ASSERT_NE(setup, nullptr);
  EXPECT_TRUE(setup->isEnabled());

  QString machine_type;
  bool modal = false, seen = false;
  WhenShown<THardWare_Option>(
      [&](THardWare_Option& dialog) {
        modal = dialog.isModal();
        machine_type = dialog.findChild<QLabel*>("hard_type")->text();
        dialog.findChild<QPushButton*>("Hard_Cancel")->click();
      },
      &seen);
  app->RunCommand(app->commands().options);
  ASSERT_TRUE(seen);
  EXPECT_TRUE(modal);
  EXPECT_EQ(machine_type, "2005");  // filled before it showed
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(History().ReadString("Option", "sound_setup", ""), "1");

  // Nothing opens while the program is exiting.
  app->state().ExitInProgress = 1;
  commands->Setup_HintClick();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(HardwareCommandsTest, TheTriggerShowsAndHidesTheEngineeringPanel) {
  Open();
  EngineeringPanelWidget* panel = commands->PanelWidget();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->parentWidget(), form->CopyPage());
  EXPECT_FALSE(panel->isVisible());

  SkinStack* trigger = form->Stack("Image6");
  ASSERT_NE(trigger, nullptr);
  QTest::mouseDClick(trigger, Qt::LeftButton);
  Settle();
  EXPECT_TRUE(panel->isVisible());
  // Clear of the trigger, inside the page.
  EXPECT_FALSE(panel->geometry().intersects(trigger->geometry()));
  EXPECT_TRUE(form->CopyPage()->rect().contains(panel->geometry()));
  EXPECT_TRUE(SaveScreenshot(*form, "main-engineering-panel"));

  // The SRAM buttons follow the reconnects.
  app->link().window.SetSramButtonsEnabled(false);
  EXPECT_FALSE(panel->Button("Button7")->isEnabled());
  app->link().window.SetSramButtonsEnabled(true);
  EXPECT_TRUE(panel->Button("Button8")->isEnabled());

  // A click on the panel's Open USB runs through the application.
  sim->SetUnitPresent(false);
  QTest::mouseClick(panel->Button("Button6"), Qt::LeftButton);
  Settle();
  EXPECT_FALSE(panel->Button("Button7")->isEnabled());
  EXPECT_THAT(messages.texts(), ::testing::Contains(Application::kNotConnectedText));

  // Button14 is the Create page's type button, through the busy gate too.
  int create_type = 0;
  app->commands().create_type = [&] { ++create_type; };
  QTest::mouseClick(panel->Button("Button14"), Qt::LeftButton);
  Settle();
  EXPECT_EQ(create_type, 1);
  app->commands().create_type = nullptr;
  QTest::mouseClick(panel->Button("Button14"), Qt::LeftButton);
  Settle();

  QTest::mouseClick(trigger, Qt::LeftButton);
  Settle();
  EXPECT_FALSE(panel->isVisible());
  QTest::mouseDClick(trigger, Qt::LeftButton);
  Settle();
  app->CopyBtnClick();  // the Copy page hides it too
  EXPECT_FALSE(panel->isVisible());
}

}  // namespace
}  // namespace quenlet::testing
