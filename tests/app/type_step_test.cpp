// The Type step of the Copy page around the device dialog.
#include "app/type_step.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "programmer/ops_fixture.h"
#include "support/temp_dir.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TypeStepTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    // A device was chosen before: the step pictures and run boxes follow
    // the device (the dialog's OK stores the new one here).
    f.state.HistoryIniFile = Path("History_1.ini");
    IniFile(f.state.HistoryIniFile).WriteString("SelectDlg", "Manufacturer", "Maker");
    f.Select(DeviceShape{});
    // The boxes and pictures as the operator left them: erase unticked and
    // passed, protect ticked.
    f.view.TickBox(RunBox::CheckBox1, false);
    f.view.TickBox(RunBox::CheckBox5, true);
    for (Layer l : {Layer::n, Layer::h, Layer::w}) f.view.Hide(Step::Erase, l);
    f.view.Show(Step::Erase, Layer::p);
    f.state.VerifyMode = 2;
    f.state.ProgrammerHasData = 1;
    f.state.SetDataSetMode(3);
    f.state.RunReady = 0;
    f.view.Show(Step::Type, Layer::h);
  }
  // The dialog closes with OK (cancelled 0) or Cancel (1).
  TypeStepHooks Hooks(int cancelled) {
    TypeStepHooks hooks;
    hooks.show_dialog = [this, cancelled] {
      calls.push_back("dialog");
      f.device.DialogCancelled = cancelled;
    };
    hooks.choice = [] { return std::pair<std::string, std::string>("Maker", "P27C256"); };
    hooks.relabel = [this](const std::string& m, const std::string& p) {
      calls.push_back("label " + m + " " + p);
    };
    hooks.follow_device = [this] { calls.push_back("follow device"); };
    hooks.load_step = [this] {
      calls.push_back("load");
      f.state.LoadNeedsDevice = 0;  // as the load dialog does
    };
    return hooks;
  }

  OpsFixture f;
  std::vector<std::string> calls;
};

TEST_F(TypeStepTest, OkRelabelsAndMakesTheCopyPageReady) {
  TypeStep(f.ctx, Hooks(0));
  EXPECT_THAT(calls, ElementsAre("dialog", "label Maker P27C256", "follow device"));
  EXPECT_FALSE(f.view.Visible(Step::Type, Layer::h));
  // Every step the new device has is offered and ticked (protect keeps its tick).
  EXPECT_TRUE(f.view.BoxTicked(RunBox::CheckBox1));
  EXPECT_TRUE(f.view.BoxTicked(RunBox::CheckBox5));
  EXPECT_EQ(f.view.Top(Step::Erase), Layer::n);
  EXPECT_EQ(f.state.VerifyMode, 0);
  EXPECT_EQ(f.state.DataSetMode(), 0);
  EXPECT_EQ(f.state.RunReady, 1);
  EXPECT_EQ(f.state.ProgrammerHasData, 0);
}

TEST_F(TypeStepTest, CancelKeepsTheLabelAndThePictures) {
  TypeStep(f.ctx, Hooks(1));
  EXPECT_THAT(calls, ElementsAre("dialog"));
  EXPECT_FALSE(f.view.BoxTicked(RunBox::CheckBox1));
  EXPECT_TRUE(f.view.BoxTicked(RunBox::CheckBox5));
  EXPECT_EQ(f.view.Top(Step::Erase), Layer::p);
  EXPECT_EQ(f.state.VerifyMode, 0);
  EXPECT_EQ(f.state.ProgrammerHasData, 0);
  EXPECT_THAT(f.wire.lines, IsEmpty());
}

// A load asked for before any device was chosen goes on after the OK.
TEST_F(TypeStepTest, AWaitingLoadFollowsTheOk) {
  f.state.LoadNeedsDevice = 1;
  TypeStep(f.ctx, Hooks(0));
  EXPECT_THAT(calls, ElementsAre("dialog", "label Maker P27C256", "follow device", "load"));
}

}  // namespace
}  // namespace quenlet::testing
