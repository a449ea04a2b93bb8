#include "app/run_sequences.h"

#include <algorithm>

#include "app/application.h"
#include "app/skin_engine.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"
#include "programmer/held_data_sum.h"
#include "programmer/operation_context.h"
#include "programmer/operation_frame.h"
#include "programmer/run_controls.h"
#include "programmer/single_shot_ops.h"
#include "programmer/step_fail.h"
#include "state/operation_messages.h"

namespace quenlet {
namespace {

struct PassStep {
  RunBox box;
  bool (*core)(OperationContext&, int mode);
  bool (*second_area)(OperationContext&);  // the follow-up on the device's second area
};

constexpr PassStep kPassSteps[] = {
    {RunBox::CheckBox1, erase_1Click, nullptr},
    {RunBox::CheckBox2, check_1Click, nullptr},
    {RunBox::CheckBox3, program_1Click, ProgramSecondArea},
    {RunBox::CheckBox4, verify_1Click, VerifySecondArea},
    {RunBox::CheckBox5, protect_1Click, nullptr},
};

// A restored tick stays on a box the device's steps disabled: such a step
// must not run.
bool Selected(const StepPictures& view, RunBox box) {
  return view.BoxTicked(box) && view.BoxEnabled(box);
}

bool AnySelected(const StepPictures& view) {
  return std::any_of(std::begin(kPassSteps), std::end(kPassSteps),
                     [&](const PassStep& step) { return Selected(view, step.box); });
}

enum class PassEnd { Refused, Failed, Ended };

// The pass may start its next piece of work: it is armed and no stop is
// being shown. Every step and every follow-up of a step asks this, so that
// nothing more is written or erased once a stop was acknowledged.
bool PassGoesOn(const MainFormState& s) {
  return s.RunArmed == 1 && s.StopRequest == 0;
}

// One pass over the selected steps, up to the counting and the stop's
// failure indication.
PassEnd RunPass(OperationContext& ctx, bool* any_step) {
  MainFormState& s = ctx.state;
  StepPictures& view = ctx.view;
  s.RunArmed = 0;
  // A new pass owes nothing to the one before: a Fail left by a stop goes.
  s.RunFailed = 0;
  view.Hide(Indicator::Fail);
  RefreshStepButtons(ctx, 2);
  *any_step = AnySelected(view);
  if (*any_step) s.RunArmed = s.RunReady;
  ctx.busy.Clear(BusyStep::Blank);

  bool count = true;
  for (size_t i = 0; i < std::size(kPassSteps); ++i) {
    if (s.StopRequest == 1) {
      count = i != 0;
      break;
    }
    const PassStep& step = kPassSteps[i];
    if (!Selected(view, step.box) || !PassGoesOn(s)) continue;
    bool ok = step.core(ctx, 1);
    if (ok && step.second_area != nullptr && ctx.device.SecondAreaFollows() && PassGoesOn(s)) {
      ok = step.second_area(ctx);
    }
    if (!ok) {
      StepFail(ctx);
      // The operator looks at the result for how the pass ended: a failure
      // shows Fail as a stop does (the failing step keeps its picture).
      view.Show(Indicator::Fail);
      s.RunArmed = 0;
      s.RunFailed = 1;
      // A stop's hold lasts until the pass ends, and a failure ends it too.
      s.RunReady = 1;
      return PassEnd::Failed;
    }
  }
  if (count && s.RunArmed == 1) {
    s.RunArmed = 0;
    // A click handled in this pump finds the pass already finishing.
    s.StopRequest = 1;
    ctx.pump.PumpOnce();
    ++s.PassCount;
    s.StopRequest = 0;
    view.Show(Indicator::Pass);
    view.Show(Indicator::Wait);
    s.RunFailed = 0;
  }
  if (s.RunFailed == 1) StepFail(ctx);
  return PassEnd::Ended;
}

PassEnd AutoRunPass(OperationContext& ctx) {
  if (ctx.lock.Busy()) return PassEnd::Refused;
  MainFormState& s = ctx.state;
  // The steps hold back their Pass pictures and sounds for this pass only.
  struct DeferPass {
    MainFormState& s;
    explicit DeferPass(MainFormState& state) : s(state) { s.DeferPassImage = 1; }
    ~DeferPass() { s.DeferPassImage = 0; }
  } defer(s);
  bool any_step = false;
  const PassEnd end = RunPass(ctx, &any_step);
  if (end != PassEnd::Ended) return end;
  // A stopped pass shows Fail, never Pass.
  if (s.RunFailed == 0) ctx.view.Show(Indicator::Pass);
  s.RunReady = 1;
  return end;
}

}  // namespace

bool AutoRunSequence(OperationContext& ctx) {
  return AutoRunPass(ctx) == PassEnd::Ended;
}

void Run_HintClick(OperationContext& ctx) {
  if (ctx.lock.Busy()) return;
  bool any_step = false;
  if (RunPass(ctx, &any_step) != PassEnd::Ended) return;
  ctx.state.RunReady = 1;
  // With no step to run the pass passed nothing: no sound.
  if (any_step) PlayPassSoundIfShown(ctx);
}

bool AutoRun_HintClick(OperationContext& ctx, bool no_device_chosen) {
  if (no_device_chosen) {
    PlayFailSound(ctx.sound, ctx.pump, ctx.state.SoundKind);
    ctx.messages.Show(op_text::kNoDeviceChosen);
    return false;
  }
  const PassEnd end = AutoRunPass(ctx);
  if (end == PassEnd::Failed) {
    // A unit pulled during the session keeps its open handle: only a fresh
    // open tells whether one is there.
    ReconnectProgrammer(ctx, false);
  }
  return end == PassEnd::Ended;
}

void RunOnceSequence(OperationContext& ctx, SkinEngine& skin) {
  skin.HoverImage("Run", "");
  Run_HintClick(ctx);
  skin.ReleaseImage("Run_Hint", "UP");
}

void RunBatchSequence(OperationContext& ctx, SkinEngine& skin, bool no_device_chosen) {
  skin.HoverImage("AutoRun", "");
  if (no_device_chosen) {
    PlayFailSound(ctx.sound, ctx.pump, ctx.state.SoundKind);
    return;
  }
  AutoRun_HintClick(ctx, false);
  // Released as the button's own mouse-up does: pressing the hover picture
  // here would leave it hidden and the button drawn pressed for good.
  skin.ReleaseImage("AutoRun_Hint", "UP");
}

void RunOnceSequence(Application& app) {
  RunOnceSequence(app.operations(), app.skin());
}

void RunBatchSequence(Application& app) {
  RunBatchSequence(app.operations(), app.skin(), app.NoDeviceChosen());
}

void Stop_HintClick(OperationContext& ctx) {
  MainFormState& s = ctx.state;
  PlayFailSound(ctx.sound, ctx.pump, s.SoundKind);
  if (s.RunArmed != 1) return;
  s.StopRequest = 1;
  ctx.view.Hide(Indicator::Pass);
  ctx.view.Hide(Indicator::Wait);
  ctx.view.Show(Indicator::Fail);
  s.RunFailed = 1;
  ctx.messages.Show(kUserStopText);
  s.RunReady = 0;
  s.RunArmed = 0;
  s.StopRequest = 0;
}

void ZeroBtnClick(MainFormState& state) {
  if (state.ExitInProgress == 1) return;
  state.PassCount = 0;
}

void InstallRunSequences(Application& app) {
  ShellCommands& c = app.commands();
  c.run = [&app] {
    if (!app.SaidNoDeviceChosen()) Run_HintClick(app.operations());
  };
  c.auto_run = [&app] { AutoRun_HintClick(app.operations(), app.NoDeviceChosen()); };
  c.stop = [&app] { Stop_HintClick(app.operations()); };
  c.zero_counter = [&app] { ZeroBtnClick(app.state()); };
}

}  // namespace quenlet
