// Run, AutoRun, Stop and the project passes through the application object
// on the simulated unit, with the wire log.
#include "app/run_sequences.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/copy_steps.h"
#include "programmer/operation_context.h"
#include "run_fixture.h"
#include "state/operation_messages.h"

namespace quenlet::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;

// A 128 KB byte-wide device without protect: two pages per data step.
class PassTest : public RunTest {
 protected:
  Application& StartByteDevice(const std::string& process_mode) {
    Write("INI\\AMD\\AM29F010.ini", kByteDevice);
    ChooseDevice("INI\\AMD\\AM29F010.ini", process_mode);
    StartAndShow();
    InstallRunSequences(*app);
    InstallCopySteps(*app, {});
    Forget();
    return *app;
  }
  void AutoRun() { EXPECT_TRUE(app->RunCommand(app->commands().auto_run)); }
};

TEST_F(PassTest, AutoRunRunsTheTickedStepsInOrderAndCountsThenSingleStepsPassAgain) {
  StartByteDevice("+E+C+P+V");
  AutoRun();
  EXPECT_THAT(Operations(), ElementsAre(0x02, 0x04, 0x05, 0x05, 0x01, 0x01));
  EXPECT_EQ(app->state().PassCount, 1u);
  EXPECT_EQ(FailSounds(), 0);
  EXPECT_TRUE(Shows(Indicator::Pass));
  EXPECT_FALSE(Shows(Indicator::Fail));
  EXPECT_EQ(app->state().RunReady, 1);
  EXPECT_EQ(app->state().DeferPassImage, 0);

  // The pass held back the steps' own Pass pictures; a step alone has them again.
  Forget();
  EXPECT_TRUE(app->StepClick(Step::Erase, Layer::n));
  EXPECT_THAT(Operations(), ElementsAre(0x02));
  EXPECT_EQ(PassSounds(), 1);

  AutoRun();
  EXPECT_EQ(app->state().PassCount, 2u);
}

struct FailingStep {
  const char* name;
  size_t operations_before;  // requests 0x49 the pass sent before the failing one
  int operation;
  Step step;
  // The failing step's picture; a verify whose status reports an error is
  // made ready for a new start instead.
  Layer picture;
};

class FailingStepTest : public PassTest, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(FailingStepTest, EndsThePassWithNothingMoreSentAndNoCount) {
  const FailingStep& step = GetParam();
  StartByteDevice("+E+C+P+V");
  bool armed = false;
  pump.on_pump = [&](int) {
    if (!armed && Operations().size() == step.operations_before) {
      armed = true;
      sim->unit().FailNextOperation(0x01, 0x00);
    }
  };
  EXPECT_FALSE(AutoRunSequence(app->operations()));
  const std::vector<int> all = {0x02, 0x04, 0x05, 0x05, 0x01, 0x01};
  EXPECT_THAT(Operations(),
              ElementsAreArray(all.begin(), all.begin() + step.operations_before + 1));
  EXPECT_EQ(Operations().back(), step.operation);
  // The failing operation's status was the last thing on the wire.
  EXPECT_EQ(Transfers().back(), "IN 42 0000 0000 16");
  EXPECT_EQ(app->state().PassCount, 0u);
  EXPECT_EQ(app->state().RunFailed, 1);
  EXPECT_EQ(app->state().DeferPassImage, 0);
  // The result tells of the failure, and the step of its own.
  EXPECT_FALSE(Shows(Indicator::Pass));
  EXPECT_TRUE(Shows(Indicator::Fail));
  EXPECT_EQ(app->pictures().Top(step.step), step.picture);
  // The step's own fail sound and the pass's.
  EXPECT_EQ(FailSounds(), 2);

  // From the button, with the unit still there: no DEMO text.
  Forget();
  armed = false;
  AutoRun();
  EXPECT_THAT(messages.texts(), Not(Contains(Application::kNotConnectedText)));
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingStepTest,
                         ::testing::Values(FailingStep{"erase", 0, 0x02, Step::Erase, Layer::f},
                                           FailingStep{"blank", 1, 0x04, Step::Blank, Layer::f},
                                           FailingStep{"program", 2, 0x05, Step::Program, Layer::f},
                                           FailingStep{"verify", 4, 0x01, Step::Verify, Layer::n}),
                         [](const auto& info) { return std::string(info.param.name); });

// What the chip says fails a pass as an error does: a blank check of a
// programmed chip, and a verify of a chip that changed after its program.
TEST_F(PassTest, AChipThatDoesNotAnswerAsExpectedFailsThePassAndShowsFail) {
  StartByteDevice("+P");
  app->buffer().Bytes()[0x10] = 0x5A;
  AutoRun();
  ASSERT_EQ(app->state().PassCount, 1u);

  app->pictures().TickBox(RunBox::CheckBox3, false);
  app->pictures().TickBox(RunBox::CheckBox2, true);
  AutoRun();
  EXPECT_TRUE(Shows(Indicator::Fail));
  EXPECT_FALSE(Shows(Indicator::Pass));
  EXPECT_EQ(app->pictures().Top(Step::Blank), Layer::f);

  app->pictures().TickBox(RunBox::CheckBox2, false);
  for (RunBox box : {RunBox::CheckBox3, RunBox::CheckBox4}) app->pictures().TickBox(box, true);
  Forget();
  pump.on_pump = [&](int) {
    // Between the program's last page and the verify.
    if (Operations().size() == 2) sim->unit().chip().mutable_cells(ChipArea::Main)[0x10] ^= 0xFF;
  };
  AutoRun();
  EXPECT_THAT(Operations(), ElementsAre(0x05, 0x05, 0x01, 0x01));
  EXPECT_TRUE(Shows(Indicator::Fail));
  EXPECT_FALSE(Shows(Indicator::Pass));
  EXPECT_EQ(app->pictures().Top(Step::Verify), Layer::f);
  EXPECT_EQ(app->pictures().Top(Step::Program), Layer::p);
  EXPECT_EQ(app->state().PassCount, 1u);
}

TEST_F(PassTest, UnitPulledDuringTheSessionGivesTheDemoText) {
  StartByteDevice("+E+C");
  // Pulled while the pass runs, after the erase: the open handle would still
  // look like a unit; only a fresh open tells.
  pump.on_pump = [&](int) {
    if (Operations().size() == 1) sim->SetUnitPresent(false);
  };
  AutoRun();
  EXPECT_EQ(app->state().PassCount, 0u);
  EXPECT_THAT(messages.texts(), Contains(Application::kNotConnectedText));
}

TEST_F(PassTest, StopInsideTheProgramStepEndsThePassAfterIt) {
  StartByteDevice("+E+C+P+V");
  app->state().SoundOn = 0;
  pump.on_pump = [&](int) {
    if (Operations().size() == 2) {
      EXPECT_TRUE(app->RunStop());
    }
  };
  AutoRun();
  // Program ran to its end; verify was never started: program's last status
  // was the last thing on the wire.
  EXPECT_THAT(Operations(), ElementsAre(0x02, 0x04, 0x05, 0x05));
  EXPECT_EQ(Transfers().back(), "IN 42 0000 0000 16");
  EXPECT_THAT(messages.texts(), Contains(kUserStopText));
  EXPECT_TRUE(Shows(Indicator::Fail));
  EXPECT_FALSE(Shows(Indicator::Pass));
  EXPECT_EQ(app->state().PassCount, 0u);
  EXPECT_EQ(app->state().RunReady, 1);
  EXPECT_EQ(app->state().RunArmed, 0);
  // Stop sounds whatever the sound option says.
  EXPECT_EQ(FailSounds(), 1);

  // The next pass starts clean: Fail goes, Pass comes.
  pump.on_pump = nullptr;
  AutoRun();
  EXPECT_FALSE(Shows(Indicator::Fail));
  EXPECT_TRUE(Shows(Indicator::Pass));
  EXPECT_EQ(app->state().PassCount, 1u);
}

// A stop whose step then fails ends the pass as well: the pass after it runs
// its steps rather than passing on none.
TEST_F(PassTest, AStopFollowedByAFailingStepLeavesTheNextPassRunning) {
  StartByteDevice("+E+C+P+V");
  bool stopped = false;
  pump.on_pump = [&](int) {
    if (!stopped && Operations().size() == 2) {
      stopped = true;
      EXPECT_TRUE(app->RunStop());
      sim->unit().FailNextOperation(0x01, 0x00);
    }
  };
  AutoRun();
  EXPECT_THAT(Operations(), ElementsAre(0x02, 0x04, 0x05));
  EXPECT_FALSE(Shows(Indicator::Pass));
  EXPECT_EQ(app->state().PassCount, 0u);

  pump.on_pump = nullptr;
  Forget();
  AutoRun();
  EXPECT_THAT(Operations(), ElementsAre(0x02, 0x04, 0x05, 0x05, 0x01, 0x01));
  EXPECT_TRUE(Shows(Indicator::Pass));
  EXPECT_EQ(app->state().PassCount, 1u);
}

// The failure a stop left is the stopped pass's alone: a pass after it with
// nothing to run shows Pass and sounds no failure.
TEST_F(PassTest, AStoppedPassLeavesNoFailureToTheNext) {
  StartByteDevice("+E+C");
  pump.on_pump = [&](int) {
    if (Operations().size() == 1) app->RunStop();
  };
  AutoRun();
  EXPECT_TRUE(Shows(Indicator::Fail));
  EXPECT_EQ(app->state().RunFailed, 1);

  pump.on_pump = nullptr;
  for (RunBox box : {RunBox::CheckBox1, RunBox::CheckBox2}) app->pictures().TickBox(box, false);
  Forget();
  AutoRun();
  EXPECT_THAT(Transfers(), IsEmpty());
  EXPECT_EQ(FailSounds(), 0);
  EXPECT_FALSE(Shows(Indicator::Fail));
  EXPECT_TRUE(Shows(Indicator::Pass));
  EXPECT_EQ(app->state().RunFailed, 0);
}

TEST_F(PassTest, ClicksInsideAPassDoNothing) {
  StartByteDevice("+E+C+P+V");
  ShellCommands& c = app->commands();
  int pumps_inside = 0;
  pump.on_pump = [&](int) {
    ++pumps_inside;
    EXPECT_FALSE(app->RunCommand(c.auto_run));
    EXPECT_FALSE(app->RunCommand(c.run));
    EXPECT_FALSE(app->RunCommand(c.zero_counter));
    EXPECT_FALSE(app->StepClick(Step::Erase, Layer::n));
    EXPECT_FALSE(app->StepClick(Step::Verify, Layer::p));
  };
  AutoRun();
  EXPECT_GT(pumps_inside, 0);
  EXPECT_THAT(Operations(), ElementsAre(0x02, 0x04, 0x05, 0x05, 0x01, 0x01));
  EXPECT_EQ(app->state().PassCount, 1u);

  // Outside a pass a started operation refuses a pass as well.
  Forget();
  {
    OperationGuard running(app->operations().lock);
    EXPECT_FALSE(AutoRunSequence(app->operations()));
    Run_HintClick(app->operations());
  }
  EXPECT_THAT(Transfers(), IsEmpty());
  EXPECT_EQ(app->state().DeferPassImage, 0);
}

TEST_F(PassTest, OnlyTickedStepsTheDeviceHasRun) {
  // A protect tick restored onto a device without protect.
  StartByteDevice("+E+S");
  EXPECT_TRUE(app->pictures().BoxTicked(RunBox::CheckBox5));
  AutoRun();
  EXPECT_THAT(Operations(), ElementsAre(0x02));
  EXPECT_EQ(app->state().PassCount, 1u);

  // Only that tick left: nothing to run, and Run stays silent.
  Forget();
  app->pictures().TickBox(RunBox::CheckBox1, false);
  EXPECT_TRUE(app->RunCommand(app->commands().run));
  EXPECT_THAT(Transfers(), IsEmpty());
  EXPECT_THAT(sound.beeps, IsEmpty());
}

TEST_F(PassTest, NothingTickedSendsNothingRunIsSilentAutoRunShowsPass) {
  StartByteDevice("+T");
  Run_HintClick(app->operations());
  EXPECT_THAT(Transfers(), IsEmpty());
  EXPECT_THAT(sound.beeps, IsEmpty());
  EXPECT_TRUE(AutoRunSequence(app->operations()));
  EXPECT_TRUE(Shows(Indicator::Pass));
  EXPECT_THAT(Transfers(), IsEmpty());
  EXPECT_THAT(sound.beeps, IsEmpty());
  EXPECT_EQ(app->state().PassCount, 0u);
}

TEST_F(PassTest, RunEndsWithOnePassSoundAndARefusedSoundIsSaid) {
  StartByteDevice("+E");
  EXPECT_TRUE(app->RunCommand(app->commands().run));
  EXPECT_THAT(Operations(), ElementsAre(0x02));
  EXPECT_EQ(PassSounds(), 1);
  EXPECT_EQ(app->state().PassCount, 1u);

  sound.takes_sound = false;
  EXPECT_TRUE(app->RunCommand(app->commands().run));
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "Sound Command Fail !!");
  EXPECT_EQ(messages.boxes[0].caption, "Error");
  EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Stop);
}

TEST_F(PassTest, ARefusedThreeBeepFailSoundIsSaidOnce) {
  StartByteDevice("+E");
  app->state().SoundKind = 1;
  sim->unit().FailNextOperation(0x01, 0x00);
  EXPECT_TRUE(app->StepClick(Step::Erase, Layer::n));
  EXPECT_EQ(PassSounds(), 3);
  EXPECT_THAT(messages.texts(), Not(Contains("Sound Command Fail !!")));

  // Refused: the first beep is said, and the other two are not tried.
  Forget();
  sound.takes_sound = false;
  sim->unit().FailNextOperation(0x01, 0x00);
  EXPECT_TRUE(app->StepClick(Step::Erase, Layer::n));
  EXPECT_EQ(PassSounds(), 1);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "Sound Command Fail !!");
}

struct SecondArea {
  const char* device;
  std::vector<int> operations;
};

class SecondAreaTest : public RunTest, public ::testing::WithParamInterface<SecondArea> {};

TEST_P(SecondAreaTest, FollowsProgramAndVerifyOnlyWhenTheDeviceHasOne) {
  StartWith(GetParam().device, "+P+V");
  EXPECT_TRUE(AutoRunSequence(app->operations()));
  EXPECT_THAT(Operations(), ElementsAreArray(GetParam().operations));
  EXPECT_EQ(app->state().PassCount, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, SecondAreaTest,
    ::testing::Values(
        // 8 KB and a 256-byte second area: 0x0E after program, its compare after verify.
        SecondArea{"QD2A-064", {0x05, 0x0E, 0x01, 0x0D}},
        // No second area.
        SecondArea{"QD27-256", {0x05, 0x01}},
        // The programmer keeps the data and verifies it itself.
        SecondArea{"QDH-016", {0x05, 0x06}}),
    [](const auto& info) {
      std::string name = info.param.device;
      name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
      return name;
    });

// A Stop pressed while a step's main area moves is seen in the pump before
// the second area: nothing more goes to the unit once "User Stop" was said.
// The second click of a double click on Stop, queued behind the first, comes
// in inside that box and does nothing.
struct StopBeforeSecondArea {
  const char* name;
  int stop_after;  // the operation the Stop is pressed during
  std::vector<int> operations;
};

class StopBeforeSecondAreaTest : public RunTest,
                                 public ::testing::WithParamInterface<StopBeforeSecondArea> {};

TEST_P(StopBeforeSecondAreaTest, NothingIsSentAfterTheUserStopBoxAndAStopInsideItDoesNothing) {
  const StopBeforeSecondArea& c = GetParam();
  StartWith("QD2A-064", "+P+V");
  app->state().SoundOn = 0;  // the stop's own sound alone
  bool stopped = false;
  pump.on_pump = [&](int) {
    if (!stopped && !Operations().empty() && Operations().back() == c.stop_after) {
      stopped = true;
      EXPECT_TRUE(app->RunStop());
    }
  };
  size_t wire_at_box = 0;
  messages.on_box = [&](const RecordedBox& box) {
    if (box.text != kUserStopText || wire_at_box != 0) return;
    wire_at_box = sim->unit().log().entries().size();
    EXPECT_FALSE(app->RunStop());
  };
  EXPECT_TRUE(AutoRunSequence(app->operations()));
  ASSERT_TRUE(stopped);
  EXPECT_THAT(Operations(), ElementsAreArray(c.operations));
  const auto& wire = sim->unit().log().entries();
  EXPECT_TRUE(std::none_of(wire.begin() + wire_at_box, wire.end(), [](const WireEntry& e) {
    return e.kind == WireKind::Control && e.request == request::kRun;
  }));
  EXPECT_THAT(messages.texts(), ElementsAre(kUserStopText));
  EXPECT_EQ(FailSounds(), 1);
  EXPECT_TRUE(Shows(Indicator::Fail));
  EXPECT_EQ(app->state().PassCount, 0u);
}

INSTANTIATE_TEST_SUITE_P(Steps, StopBeforeSecondAreaTest,
                         ::testing::Values(StopBeforeSecondArea{"Program", 0x05, {0x05}},
                                           StopBeforeSecondArea{
                                               "Verify", 0x01, {0x05, 0x0E, 0x01}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunTest, ProjectPassesReleaseTheirButtonsAndWithoutADeviceOnlySound) {
  StartWith("QD2A-064", "+E");
  RunOnceSequence(*app);
  EXPECT_THAT(Operations(), ElementsAre(0x02));
  EXPECT_TRUE(app->pictures().VisibleByName("Run"));
  EXPECT_TRUE(app->pictures().VisibleByName("Run_Hint"));
  RunBatchSequence(*app);
  EXPECT_THAT(Operations(), ElementsAre(0x02, 0x02));
  EXPECT_EQ(app->state().PassCount, 2u);
  EXPECT_TRUE(app->pictures().VisibleByName("AutoRun"));
  EXPECT_TRUE(app->pictures().VisibleByName("AutoRun_Hint"));

  app->SetSelectedType("None", "None");
  Forget();
  RunBatchSequence(*app);
  EXPECT_THAT(Transfers(), IsEmpty());
  EXPECT_EQ(FailSounds(), 1);
  EXPECT_EQ(app->state().PassCount, 2u);
}

TEST_F(RunTest, WithoutADeviceTheStepsRunAndAutoRunSayOnceHowToChooseOne) {
  StartAndShow();
  InstallRunSequences(*app);
  InstallCopySteps(*app, {});
  const std::function<bool()> starts[] = {
      [&] { return app->StepClick(Step::Erase, Layer::n); },
      [&] { return app->StepClick(Step::Read, Layer::n); },
      [&] { return app->StepClick(Step::Verify, Layer::p); },
      [&] { return app->RunCommand(app->commands().run); },
      [&] { return app->RunCommand(app->commands().auto_run); }};
  for (size_t i = 0; i < std::size(starts); ++i) {
    SCOPED_TRACE(i);
    Forget();
    EXPECT_TRUE(starts[i]());
    EXPECT_THAT(messages.texts(), ElementsAre(op_text::kNoDeviceChosen));
    EXPECT_THAT(Transfers(), IsEmpty());
  }
}

TEST_F(RunTest, CounterResetsExceptWhileExiting) {
  StartWith("QD2A-064", "+E");
  app->state().PassCount = 3;
  app->state().ExitInProgress = 1;
  ZeroBtnClick(app->state());
  EXPECT_EQ(app->state().PassCount, 3u);
  app->state().ExitInProgress = 0;
  EXPECT_TRUE(app->RunCommand(app->commands().zero_counter));
  EXPECT_EQ(app->state().PassCount, 0u);
}

}  // namespace
}  // namespace quenlet::testing
