// The option pages in the whole program on the simulated unit: a read of the
// sample option device fills temp.ini, Parameters shows its values, protect
// sends the option block back.
#include "ui/device/option_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QTabWidget>
#include <QTimer>

#include "app/app_fixture.h"
#include "device/option_block.h"
#include "programmer/device_read.h"
#include "programmer/single_shot_ops.h"
#include "support/option_pages_fixture.h"
#include "ui/device/option_page_builder.h"
#include "ui/device/option_page_window.h"
#include "ui/device/option_value_edit.h"

namespace quenlet::testing {
namespace {

// What the option window showed of the sample device's pages.
struct PagesShown {
  int pages = 0;
  bool secure = false;
  int boot_block = -2;
  std::string retries, user_id, label;
};

class OptionCommandsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    for (const char* file : {"INI/QDO-008.ini", "MENU/QDO-008.INI"}) {
      std::filesystem::create_directories((dir_ / file).parent_path());
      std::filesystem::copy_file(std::string(QUENLET_LIBRARY "/") + file, dir_ / file);
    }
    // Placeholder support files: the simulated unit takes any bytes.
    for (const char* file :
         {"FPGA/QDMEM.BIT", "FPGA/QDMEM.DRV", "FPGA/SCAN.BIT", "FPGA/SCAN.DRV", "QDMEM.DRV"}) {
      Write(file, std::string(64, '\x5A'));
    }
    ChooseDevice("INI\\QDO-008.ini");
    StartAndShow();
    VirtualChip& chip = sim->unit().chip();
    chip.SetExtents(0x400, 0);
    chip.InsertBlank();
  }

  // Parameters pressed; the window's pages read as it shows them, then Escape.
  PagesShown OpenParameters() {
    PagesShown shown;
    QTimer::singleShot(0, [&] {
      auto* form = qobject_cast<TCurrentPageForm*>(QApplication::activeModalWidget());
      if (form == nullptr) return;
      shown.pages = form->MainPageControl()->count();
      for (const auto& r : form->Components()) {
        QWidget* c = r->Control;
        if (auto* box = qobject_cast<QCheckBox*>(c)) shown.secure = box->isChecked();
        if (auto* group = qobject_cast<OptionRadioGroup*>(c)) shown.boot_block = group->ItemIndex();
        if (auto* edit = qobject_cast<OptionValueEdit*>(c)) {
          (r->Index == 0   ? shown.retries
           : r->Index == 1 ? shown.user_id
                           : shown.label) = edit->text().toStdString();
        }
      }
      form->reject();
    });
    EXPECT_TRUE(app->RunCommand(app->commands().parameters));
    return shown;
  }

  QWidget main_window;
};

TEST_F(OptionCommandsTest, ReadShowAndProtectTheSampleOptionDevice) {
  ASSERT_EQ(app->device().Option_Fuse_Type, 2);
  {
    OptionCommands options(*app, &main_window);
    EXPECT_NE(app->LoadSave().pic, nullptr);  // the load command's PIC path
    const OptionBlock block =
        OptionWords({0, 1, 0, 150, 0xBEEF, 'Q', 'D', 'O', '-', '0', '0', '8', '!'});
    std::copy_n(block.begin(), 26, sim->unit().chip().options().begin());  // the rest erased
    ASSERT_TRUE(readClick(app->operations()));
    EXPECT_EQ(IniFile(Path("temp.ini")).ReadString("CurrentUserPageSetup", "Page1Com2Set", ""),
              "QDO-008!");

    // First showing: check box and radio group from the page file's
    // defaults, the edits from what the unit reported.
    PagesShown first = OpenParameters();
    EXPECT_EQ(first.pages, 2);
    EXPECT_TRUE(first.secure);
    EXPECT_EQ(first.boot_block, 2);
    EXPECT_EQ(first.retries, "150");
    EXPECT_EQ(first.user_id, "BEEF");
    EXPECT_EQ(first.label, "QDO-008!");
    // Then the unit's values everywhere.
    PagesShown second = OpenParameters();
    EXPECT_FALSE(second.secure);
    EXPECT_EQ(second.boot_block, 1);
    EXPECT_EQ(app->state().ParamGridValues[0], app->device().OperationVoltages[kReadVcc]);

    // Protect sends the block as read, erased words as 0.
    OptionBlock sent = sim->unit().chip().options();
    for (size_t i = 26; i < sent.size(); ++i) sent[i] = 0;
    EXPECT_EQ(app->state().ProtectBlock, sent);
    ASSERT_TRUE(protect_1Click(app->operations(), 0));
    EXPECT_EQ(sim->unit().option_ram(), sent);
  }
  // Without the commands the hooks are gone again.
  EXPECT_FALSE(app->commands().parameters);
  EXPECT_EQ(app->operations().option_pages, nullptr);
  EXPECT_EQ(app->LoadSave().pic, nullptr);
}

}  // namespace
}  // namespace quenlet::testing
