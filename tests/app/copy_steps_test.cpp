// The Copy page's step pictures, clicked through the application object on
// the simulated unit, with the load and save dialogs' own logic answering.
#include "app/copy_steps.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <numeric>

#include "platform/strprintf.h"
#include "run_fixture.h"
#include "scripted_dialogs.h"
#include "state/operation_messages.h"
#include "support/srec_cat.h"

namespace quenlet::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

class StepsTest : public RunTest {
 protected:
  void TearDown() override {
    if (app) app->SetLoadSaveWindows(nullptr);
    dialogs.reset();
    RunTest::TearDown();
  }
  Application& Open(const std::string& device, const std::string& process_mode = "0") {
    StartWith(device, process_mode);
    Install();
    return *app;
  }
  void Install() {
    dialogs = std::make_unique<ScriptedDialogs>(*app);
    app->SetLoadSaveWindows(dialogs.get());
    FuseEditorSteps fuse;
    fuse.load = [this] {
      ++fuse_loads;
      return true;
    };
    fuse.save = [this] {
      ++fuse_saves;
      return true;
    };
    fuse.show = [this] { ++fuse_shows; };
    InstallCopySteps(*app, fuse);
  }
  void Click(Step step, Layer layer) { EXPECT_TRUE(app->StepClick(step, layer)); }
  std::string Data(const std::string& name, size_t size, uint8_t seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
      bytes[i] = static_cast<char>((i * 7 + (i >> 8) + seed) & 0xFF);
    Write(name, bytes);
    return bytes;
  }
  static uint32_t Sum(const std::string& bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), 0u,
                           [](uint32_t s, char c) { return s + static_cast<uint8_t>(c); });
  }
  Layer Top(Step step) const { return app->pictures().Top(step).value_or(Layer::Count); }

  std::unique_ptr<ScriptedDialogs> dialogs;
  int fuse_loads = 0, fuse_saves = 0, fuse_shows = 0;
};

TEST_F(StepsTest, LoadStepTakesAnotherToolsHexFileAndSaveWritesS3ThatToolReadsBack) {
  Open("QD27-256");
  const std::string bytes = Data("data.bin", 0x8000, 3);
  ASSERT_TRUE(SrecCat(Path("data.bin") + " -binary -o " + Path("data.hex") + " -intel"));
  dialogs->load_name = Path("data.hex");
  Click(Step::Load, Layer::h);
  EXPECT_THAT(Shown(), ElementsAre("This is Intel Hex format !"));
  EXPECT_EQ(app->pictures().SumText(), strprintf("%08X", Sum(bytes)));
  EXPECT_EQ(app->LoadPathText(), Path("data.hex"));
  // A device that the programmer does not keep data for: nothing on the wire.
  EXPECT_THAT(Transfers(), IsEmpty());
  // The checksum button sums the same device range again.
  EXPECT_TRUE(app->RunCommand(app->commands().checksum));
  EXPECT_EQ(app->pictures().SumText(), strprintf("%08X", Sum(bytes)));
  EXPECT_EQ(app->pictures().SumTextColour(), SumColour::WindowText);

  dialogs->save_name = Path("out.s3");
  dialogs->save_format = 4;
  Click(Step::Save, Layer::h);
  ASSERT_TRUE(SrecCat(Path("out.s3") + " -motorola -o " + Path("back.bin") + " -binary"));
  EXPECT_TRUE(ReadFile(Path("back.bin")) == bytes) << "read back differs";
  EXPECT_THAT(ReadFile(Path("out.s3")), ::testing::HasSubstr("\r\nS315"));
}

// A device whose programmer keeps the data: the load goes on to the unit.
struct HeldLoad {
  const char* name;
  bool unit = true;
  bool damaged = false;
  bool unreadable_status = false;
  bool downloaded = false;
  bool failed_upload = false;
};

class HeldLoadTest : public StepsTest, public ::testing::WithParamInterface<HeldLoad> {};

TEST_P(HeldLoadTest, DownloadsOnlyWhatLoadedAndShowsTheProgrammersSum) {
  const HeldLoad& c = GetParam();
  Open("QDH-016");
  const std::string before = app->pictures().SumText();
  if (c.damaged) {
    Write("data.hex", ":0400000001020304F1\r\n:zz\r\n");
  } else {
    Data("data.hex", 0x800, 9);  // not hex: loaded as binary
  }
  dialogs->load_name = Path("data.hex");
  if (!c.unit) sim->SetUnitPresent(false);
  if (c.unreadable_status) sim->unit().ShortenNextReply(0x42, 4);
  // The algorithm image takes the first page write, the buffer the next.
  if (c.failed_upload) sim->unit().FailRequest(0x4C, 2);
  Click(Step::Load, Layer::h);

  EXPECT_EQ(app->state().ProgrammerHasData, c.downloaded ? 1 : 0);
  if (c.downloaded) {
    EXPECT_THAT(Operations(), ElementsAre(0x0B));
    EXPECT_EQ(app->pictures().SumText(), strprintf("%08X", sim->unit().HeldChecksum()));
    // The programmer's option block came back after the sum.
    EXPECT_EQ(Transfers().back(), "bulk-in 256");
  } else if (c.damaged) {
    EXPECT_EQ(app->pictures().SumText(), before);
  }
  if (!c.unit) {
    EXPECT_THAT(messages.texts(), Contains(Application::kNotConnectedText));
    EXPECT_THAT(Transfers(), IsEmpty());
  }
  if (c.damaged) {
    EXPECT_THAT(Transfers(), IsEmpty());
  }
  if (c.failed_upload) {
    EXPECT_EQ(Transfers().back(), "OUT 4C 8000 8000 0 fail");
    EXPECT_THAT(Operations(), IsEmpty());
  }
  if (c.unreadable_status) {
    EXPECT_THAT(Operations(), ElementsAre(0x0B));
    EXPECT_TRUE(app->pictures().Visible(Step::Program, Layer::f));
    EXPECT_FALSE(app->pictures().Visible(Indicator::Pass));
    EXPECT_THAT(Transfers(), Not(Contains("OUT 46 0E00 0100 0")));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, HeldLoadTest,
                         ::testing::Values(HeldLoad{"WithTheUnit", true, false, false, true},
                                           HeldLoad{"WithoutTheUnit", false, false, false, false},
                                           HeldLoad{"DamagedFile", true, true, false, false},
                                           HeldLoad{"UnreadableStatus", true, false, true, false},
                                           HeldLoad{"FailedUpload", true, false, false, false,
                                                    true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StepsTest, ReadConfirmsWhenAskedAndAFailedConfirmShowsNoPass) {
  Open("QD27-256");
  app->pictures().TickBox(RunBox::check_confirm, false);
  Click(Step::Read, Layer::n);
  EXPECT_THAT(Operations(), ElementsAre(0x01));
  EXPECT_EQ(app->operations().record.ReadDataValid, 1);

  Forget();
  app->pictures().TickBox(RunBox::check_confirm, true);
  Click(Step::Read, Layer::n);
  EXPECT_THAT(Operations(), ElementsAre(0x01, 0x01));
  EXPECT_EQ(app->operations().record.ReadDataValid, 0);
  EXPECT_EQ(Top(Step::Confirm), Layer::p);
  EXPECT_TRUE(app->pictures().Visible(Indicator::Pass));

  // The chip changes between the read and its confirm.
  Forget();
  bool changed = false;
  pump.on_pump = [&](int) {
    if (!changed && Operations().size() == 1) {
      changed = true;
      sim->unit().chip().mutable_cells(ChipArea::Main)[5] ^= 0xFF;
    }
  };
  Click(Step::Read, Layer::n);
  EXPECT_THAT(Operations(), ElementsAre(0x01, 0x01));
  EXPECT_EQ(Top(Step::Confirm), Layer::f);
  EXPECT_FALSE(app->pictures().Visible(Indicator::Pass));
}

// An open project keeps the run boxes it ticked through a Read or a Load; a
// device chosen in the dialog gets every step it has ticked again.
TEST_F(StepsTest, ReadAndLoadKeepTheTicksOfAnOpenProject) {
  Open("QD27-256");
  Data("data.bin", 0x100, 1);
  dialogs->load_name = Path("data.bin");
  app->pictures().TickBox(RunBox::check_confirm, false);
  for (int32_t project : {1, 0}) {
    for (Step step : {Step::Read, Step::Load}) {
      SCOPED_TRACE(std::string(step == Step::Read ? "read" : "load") +
                   (project == 1 ? " in a project" : ""));
      app->state().ProjectActive = project;
      app->pictures().TickBox(RunBox::CheckBox2, false);
      Click(step, step == Step::Read ? Layer::n : Layer::h);
      EXPECT_EQ(app->pictures().BoxTicked(RunBox::CheckBox2), project == 0);
    }
  }
  EXPECT_EQ(dialogs->load_dialogs, 2);
  EXPECT_THAT(Operations(), ElementsAre(0x01, 0x01));
}

TEST_F(StepsTest, ReadOfAHeldDataDeviceHasTheProgrammerCompareTwice) {
  Open("QDH-016");
  // After a load into the programmer its compares run at the user's vcc,
  // where one is set; none set is the read vcc, never 0 V.
  app->state().ProgrammerHasData = 1;
  for (int32_t user_vcc : {0, 45}) {
    app->state().UserVcc.vcc = user_vcc;
    Forget();
    Click(Step::Read, Layer::n);
    EXPECT_THAT(Operations(), ElementsAre(0x01, 0x06, 0x06));
    EXPECT_EQ(sim->unit().parameter_block()[32], user_vcc != 0 ? user_vcc : 50);
    EXPECT_EQ(Top(Step::Confirm), Layer::p);
    EXPECT_TRUE(app->pictures().Visible(Indicator::Pass));
    EXPECT_EQ(app->operations().record.ReadDataValid, 0);
  }

  // A second status that cannot be read is a failure: the read's status,
  // the first compare's, then the second compare's.
  Forget();
  sim->unit().FailRequest(0x42, 3);
  Click(Step::Read, Layer::n);
  EXPECT_THAT(Operations(), ElementsAre(0x01, 0x06, 0x06));
  EXPECT_EQ(Top(Step::Confirm), Layer::f);
  EXPECT_FALSE(app->pictures().Visible(Indicator::Pass));
  EXPECT_THAT(messages.texts(), Contains(op_text::kCommandFail42));
}

TEST_F(StepsTest, ClickingAStepAgainInsideItsPumpSendsNothingMore) {
  Open("QD2A-064");
  int inner = 0;
  pump.on_pump = [&](int) {
    if (inner++ > 0) return;
    // Through the window: the shell is busy.
    EXPECT_FALSE(app->StepClick(Step::Erase, Layer::p));
    EXPECT_FALSE(app->RunCommand(app->commands().auto_run));
    // Straight to the handler: its own busy flag holds it back.
    app->commands().step(Step::Erase)(Layer::p);
  };
  Click(Step::Erase, Layer::p);
  EXPECT_THAT(Operations(), ElementsAre(0x02));
  EXPECT_EQ(Top(Step::Erase), Layer::p);
}

TEST_F(StepsTest, ProgramAndVerifyFollowWithTheSecondAreaOfTheDevice) {
  Open("QD2A-064");
  Click(Step::Program, Layer::n);
  EXPECT_THAT(Operations(), ElementsAre(0x05, 0x0E));
  Forget();
  Click(Step::Verify, Layer::n);
  EXPECT_THAT(Operations(), ElementsAre(0x01, 0x0D));
  EXPECT_EQ(Top(Step::Verify), Layer::p);
  EXPECT_EQ(PassSounds(), 1);
}

TEST_F(StepsTest, VerifyWithoutASecondAreaComparesTheMainAreaAlone) {
  Open("QD27-256");
  Click(Step::Program, Layer::n);
  Forget();
  Click(Step::Verify, Layer::n);
  EXPECT_THAT(Operations(), ElementsAre(0x01));
  Forget();
  Click(Step::Verify, Layer::p);
  EXPECT_THAT(Operations(), ElementsAre(0x01));
  EXPECT_EQ(Top(Step::Verify), Layer::p);
  // Margin verify is not offered: always the nominal pass.
  EXPECT_EQ(app->state().VerifyMode, 0);
  EXPECT_EQ(app->state().MarginPass, 1);
}

TEST_F(StepsTest, HeldDataVerifyAndConfirmNameTheFailedCommand) {
  Open("QDH-016");
  Click(Step::Program, Layer::n);
  Forget();
  Click(Step::Verify, Layer::n);
  EXPECT_THAT(Operations(), ElementsAre(0x06));
  EXPECT_EQ(Top(Step::Verify), Layer::p);

  Forget();
  Click(Step::Confirm, Layer::p);
  EXPECT_THAT(Operations(), ElementsAre(0x06, 0x06));
  EXPECT_EQ(Top(Step::Confirm), Layer::p);
  EXPECT_TRUE(app->pictures().Visible(Indicator::Pass));
  EXPECT_EQ(PassSounds(), 1);

  for (Step step : {Step::Verify, Step::Confirm}) {
    Forget();
    sim->unit().FailRequest(0x49);
    Click(step, step == Step::Verify ? Layer::n : Layer::f);
    EXPECT_THAT(messages.texts(), ElementsAre(op_text::kError49CommandFail));
    EXPECT_EQ(Top(step), Layer::f);
    EXPECT_FALSE(app->pictures().Visible(Indicator::Pass));
  }
}

TEST_F(StepsTest, ALoadWaitingForADeviceRunsTheTypeStepOnce) {
  StartAndShow();  // no device chosen
  Install();
  Forget();
  int types = 0;
  app->commands().step(Step::Type) = [&](Layer) {
    ++types;
    // The device dialog comes back to the Load step; still no device.
    app->commands().step(Step::Load)(Layer::h);
  };
  Click(Step::Load, Layer::h);
  EXPECT_EQ(types, 1);
  EXPECT_EQ(dialogs->load_dialogs, 2);
  EXPECT_THAT(messages.texts(), ElementsAre("Please Selete IC...", "Please Selete IC..."));
  EXPECT_THAT(Transfers(), IsEmpty());
}

TEST_F(StepsTest, LoadSaveAndEditOfAFuseDeviceGoToTheFuseEditor) {
  Open("QDG-16");
  Click(Step::Load, Layer::n);
  EXPECT_EQ(Top(Step::Load), Layer::h);
  Click(Step::Load, Layer::h);
  Click(Step::Save, Layer::h);
  EXPECT_EQ(dialogs->load_dialogs, 0);
  Click(Step::Edit, Layer::n);
  EXPECT_EQ(app->pictures().Page(), CopyPage::Edit);
  Click(Step::Edit, Layer::h);
  EXPECT_EQ(app->pictures().Page(), CopyPage::Copy);
  EXPECT_EQ(fuse_loads, 1);
  EXPECT_EQ(fuse_saves, 1);
  EXPECT_EQ(fuse_shows, 1);
}

}  // namespace
}  // namespace quenlet::testing
