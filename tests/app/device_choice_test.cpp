// The device dialog's OK through the application object, on a copy of the
// sample library with the simulated unit: the buffer, the programmer and
// the sum follow the chosen device, and the next start restores it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/device_setup.h"
#include "app_fixture.h"
#include "device/select_ic_logic.h"
#include "platform/strprintf.h"
#include "support/program_dir.h"

namespace quenlet::testing {
namespace {

namespace fs = std::filesystem;

class DeviceChoiceTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    // The shipped library as the build lays it out, without what the
    // program writes.
    const fs::path library(QUENLET_PROGRAM_DIR);
    for (const char* entry : {"Select.ini", "INI", "FPGA", "URL", "Bmpdata", "39F0x0.drv"}) {
      fs::copy(library / entry, dir_ / entry, fs::copy_options::recursive);
    }
  }
  // The dialog over the running application, as the window makes it.
  std::unique_ptr<SelectIcDialogLogic> Dialog() {
    setup = std::make_unique<ProgrammerDeviceSetup>(app->operations(),
                                                    [this] { app->ApplyDeviceBufferSize(); });
    auto logic = std::make_unique<SelectIcDialogLogic>(
        SelectIcEnv{app->paths(), app->state(), app->device(), app->messages(), opener, *setup});
    logic->FormCreate();
    return logic;
  }
  static void Choose(SelectIcDialogLogic& logic, const std::string& maker,
                     const std::string& part) {
    const auto& m = logic.Manufacturers();
    logic.MaunListBoxClick(static_cast<size_t>(std::find(m.begin(), m.end(), maker) - m.begin()));
    const auto& p = logic.Parts();
    logic.NumListBoxClick(static_cast<size_t>(std::find(p.begin(), p.end(), part) - p.begin()));
    ASSERT_EQ(logic.ChosenPart(), part);
  }
  int Count(const std::string& line) const {
    const std::vector<std::string> lines = sim->unit().log().TransferLines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }

  FakeDocumentOpener opener;
  std::unique_ptr<ProgrammerDeviceSetup> setup;
};

TEST_F(DeviceChoiceTest, OkConfiguresBufferAndProgrammerAndShowsTheSum) {
  StartAndShow();
  auto dialog = Dialog();
  Choose(*dialog, "General Type", "QD29-1MW");
  sim->unit().log().Clear();
  const int blocks = sim->unit().parameter_blocks_received();
  ASSERT_TRUE(dialog->OKBtnClick());
  // Word-wide 64 K words: a buffer of the device's 128 KB.
  EXPECT_EQ(app->device().Name, "QD29-1MW");
  EXPECT_EQ(app->device().IcDeviceSize, 0x20000u);
  EXPECT_EQ(app->buffer().Bytes().size(), 0x20000u + DataBuffer::kSizeExtra);
  EXPECT_GT(sim->unit().parameter_blocks_received(), blocks);
  EXPECT_EQ(Count("OUT 47 4000 4000 0"), 8);  // the device's driver and the default one
  EXPECT_EQ(Count("OUT 49 4000 0B00 0"), 0);
  EXPECT_EQ(app->pictures().SumText(), "00000000");  // an empty buffer

  // A device whose programmer keeps the data: the programmer's own sum.
  Choose(*dialog, "Quenlet Demo", "QDH-016");
  ASSERT_TRUE(dialog->OKBtnClick());
  EXPECT_EQ(Count("OUT 49 4000 0B00 0"), 1);
  EXPECT_EQ(app->pictures().SumText(), strprintf("%08X", unsigned{sim->unit().HeldChecksum()}));
  // A buffer larger than the device stays as large.
  EXPECT_EQ(app->buffer().Bytes().size(), 0x20000u + DataBuffer::kSizeExtra);
  EXPECT_TRUE(Shown().empty()) << Shown().front();
  EXPECT_EQ(dialog->Ring().Last(), "Quenlet Demo_IC_QDH-016");

  // The next start loads the device chosen last and the dialog opens on it.
  dialog.reset();
  app.reset();
  StartAndShow();
  EXPECT_EQ(app->SelectedType()[0], "Quenlet Demo");
  EXPECT_EQ(app->SelectedType()[1], "QDH-016");
  EXPECT_EQ(app->device().Name, "QDH-016");
  dialog = Dialog();
  EXPECT_EQ(dialog->ManuEditText(), "Quenlet Demo");
  EXPECT_EQ(dialog->IcTypeEditText(), "QDH-016");
}

TEST_F(DeviceChoiceTest, PartWithoutItsDeviceFileKeepsTheLoadedDevice) {
  StartAndShow();
  auto dialog = Dialog();
  Choose(*dialog, "General Type", "QD27-256");
  ASSERT_TRUE(dialog->OKBtnClick());
  const std::string stored = History().ReadString("SelectDlg", "IcFileName", "");
  Choose(*dialog, "Demo_Maker", "QD-GONE");
  EXPECT_FALSE(dialog->OKBtnClick());
  EXPECT_EQ(messages.boxes.back().text, "Cannot open file \"" + Path("") + "INI/QD-GONE.ini\".");
  EXPECT_EQ(History().ReadString("SelectDlg", "IcFileName", ""), stored);
  EXPECT_EQ(app->device().Name, "QD27-256");
}

}  // namespace
}  // namespace quenlet::testing
