#include "app/copy_steps.h"

#include <memory>

#include "app/application.h"
#include "buffer/load_pipeline.h"
#include "buffer/save_pipeline.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"
#include "programmer/device_read.h"
#include "programmer/held_data_sum.h"
#include "programmer/operation_context.h"
#include "programmer/operation_frame.h"
#include "programmer/run_controls.h"
#include "programmer/single_shot_ops.h"
#include "programmer/step_fail.h"
#include "programmer/uploads.h"
#include "state/operation_messages.h"

namespace quenlet {
namespace {

BusyStep BusyOf(Step step) {
  switch (step) {
    case Step::Erase:
      return BusyStep::Erase;
    case Step::Blank:
      return BusyStep::Blank;
    case Step::Program:
      return BusyStep::Program;
    case Step::Verify:
      return BusyStep::Verify;
    case Step::Read:
      return BusyStep::Read;
    case Step::Confirm:
      return BusyStep::Confirm;
    default:
      return BusyStep::Protect;
  }
}

// After Read and Load: a project keeps its run boxes' ticks, a device chosen
// in the dialog gets every step it has ticked.
int RefreshModeAfterLoad(const OperationContext& ctx) {
  return ctx.state.ProjectActive == 1 ? 2 : 0;
}

}  // namespace

CopySteps::CopySteps(OperationContext& ctx, CopyStepHooks hooks)
    : ctx_(ctx), hooks_(std::move(hooks)) {}

void CopySteps::Click(Step step, Layer layer) {
  const bool normal = layer == Layer::n;
  const bool result = layer == Layer::p || layer == Layer::f;
  switch (step) {
    case Step::Erase:
    case Step::Blank:
    case Step::Protect:
      if (normal) {
        RefreshStepButtons(ctx_, 2);
        if (step == Step::Erase) erase_1Click(ctx_, 0);
        if (step == Step::Blank) check_1Click(ctx_, 0);
        if (step == Step::Protect) protect_1Click(ctx_, 0);
      } else if (result) {
        GuardedCall(step, layer);
      }
      break;
    case Step::Program:
      if (normal) {
        RefreshStepButtons(ctx_, 2);
        ProgramStep(0);
      } else if (result) {
        GuardedCall(step, layer);
      }
      break;
    case Step::Verify:
    case Step::Read:
      if (normal) {
        step == Step::Verify ? VerifyStep() : ReadStep();
      } else if (result) {
        GuardedCall(step, layer);
      }
      break;
    case Step::Confirm:
      if (normal) {
        confirm_nClick(ctx_);
      } else if (result) {
        ConfirmStep();
      }
      break;
    case Step::Load:
    case Step::Save:
      if (normal) {
        ctx_.view.Hide(step, Layer::n);
      } else if (layer == Layer::h) {
        step == Step::Load ? LoadStep() : SaveStep();
      }
      break;
    case Step::Edit:
      if (normal || layer == Layer::h) EditStep(layer == Layer::h);
      break;
    default:
      break;
  }
}

void CopySteps::GuardedCall(Step step, Layer layer) {
  const BusyStep flag = BusyOf(step);
  // A click on this step handled inside its own pump below.
  if (ctx_.busy.IsSet(flag)) return;
  ctx_.busy.Set(flag);
  StepPictures& view = ctx_.view;
  const bool keep_mode = (step == Step::Verify && layer == Layer::p) || step == Step::Read;
  RefreshStepButtons(ctx_, keep_mode ? 2 : 1);
  if (step == Step::Verify) {
    view.Hide(step, Layer::n);
    view.Hide(step, Layer::h);
    view.Show(step, Layer::w);
  } else if (step == Step::Read) {
    view.Hide(step, Layer::n);
    view.Hide(step, Layer::h);
    view.Hide(step, Layer::w);
    view.Show(step, Layer::p);
  } else {
    view.Show(step, Layer::n);
    view.Show(step, Layer::w);
  }
  view.Show(Indicator::Pass);
  view.Show(Indicator::Wait);
  ctx_.busy.Clear(flag);

  switch (step) {
    case Step::Erase:
      erase_1Click(ctx_, 2);
      break;
    case Step::Blank:
      check_1Click(ctx_, 2);
      break;
    case Step::Program:
      ProgramStep(2);
      PlayPassSoundIfShown(ctx_);
      break;
    case Step::Protect:
      protect_1Click(ctx_, 2);
      PlayPassSoundIfShown(ctx_);
      break;
    case Step::Verify:
      // A high-voltage margin pass is never in progress here (margin verify
      // is not offered), so the verify always runs.
      if (ctx_.device.Option_Fuse_Type == 1 || ctx_.state.MarginPass != 2) VerifyStep();
      break;
    case Step::Read:
      ReadStep();
      PlayPassSoundIfShown(ctx_);
      break;
    default:
      break;
  }
  ctx_.busy.Clear(flag);
}

void CopySteps::ProgramStep(int mode) {
  if (!program_1Click(ctx_, mode) || !ctx_.device.SecondAreaFollows()) return;
  MainFormState& s = ctx_.state;
  if (!ProgramSecondArea(ctx_)) {
    StepFail(ctx_);
    s.RunArmed = 0;
    s.RunFailed = 1;
    return;
  }
  PlayPassSoundIfDue(ctx_);
}

void CopySteps::VerifyStep() {
  RefreshStepButtons(ctx_, 2);
  if (ctx_.device.Option_Fuse_Type != 1) {
    ctx_.state.MarginPass = 1;
    if (verify_1Click(ctx_, 0) && ctx_.device.SecondAreaFollows()) VerifySecondArea(ctx_);
    return;
  }
  // The programmer verifies the device against the data it holds.
  OperationGuard guard(ctx_.lock);
  if (StartRefused(ctx_, guard, BusyStep::Verify)) return;
  const Step step = Step::Verify;
  if (!PrepareHeldDataCompare(ctx_, step) ||
      !HeldDataCompare(ctx_, step, {op_text::kError49CommandFail, nullptr, nullptr})) {
    return;
  }
  PlayPassSoundIfDue(ctx_);
}

void CopySteps::ReadStep() {
  StepPictures& view = ctx_.view;
  view.Hide(Step::Read, Layer::n);
  view.Hide(Step::Read, Layer::h);
  view.Show(Step::Read, Layer::w);
  view.Show(Step::Read, Layer::p);
  view.Show(Step::Read, Layer::f);
  view.Hide(Indicator::Pass);
  RefreshStepButtons(ctx_, RefreshModeAfterLoad(ctx_));
  readClick(ctx_);
  if (ctx_.record.ReadDataValid == 1 && view.BoxTicked(RunBox::check_confirm)) AutoConfirm();
}

void CopySteps::AutoConfirm() {
  StepPictures& view = ctx_.view;
  const Step step = Step::Confirm;
  if (ctx_.device.Option_Fuse_Type != 1) {
    bool ok = ConfirmDevice(ctx_, 2);
    if (ok && ctx_.device.SecondAreaFollows()) ok = ConfirmSecondArea(ctx_);
    ctx_.record.ReadDataValid = 0;
    // A confirm that failed has said so: Pass over it would hide that.
    if (ok) view.Show(Indicator::Pass);
    return;
  }
  // Two programmer-side compares against the data just read, one after
  // the other.
  OperationGuard guard(ctx_.lock);
  if (StartRefused(ctx_, guard, BusyStep::Confirm)) return;
  // No voltage of the user's is ever 0 V: 0 stands for none, the read vcc.
  if (!PrepareHeldDataCompare(ctx_, step,
                              ctx_.state.ProgrammerHasData == 1 ? ctx_.state.UserVcc.vcc : 0)) {
    return;
  }
  if (!HeldDataCompare(
          ctx_, step,
          {op_text::kCommandFail49, op_text::kCommandFail42, op_text::kCommandFail42})) {
    return;
  }
  // A second status that cannot be read is no pass either.
  if (!HeldDataCompare(ctx_, step, {op_text::kCommandFail49, nullptr, op_text::kCommandFail42})) {
    return;
  }
  ctx_.record.ReadDataValid = 0;
  view.Show(Indicator::Pass);
}

void CopySteps::ConfirmStep() {
  const BusyStep flag = BusyStep::Confirm;
  if (ctx_.busy.IsSet(flag)) return;
  ctx_.busy.Set(flag);
  StepPictures& view = ctx_.view;
  const Step step = Step::Confirm;
  RefreshStepButtons(ctx_, 2);
  view.Show(step, Layer::n);
  view.Show(step, Layer::w);
  view.Hide(Indicator::Pass);
  view.Show(Indicator::Wait);
  ctx_.busy.Clear(flag);

  if (ctx_.device.Option_Fuse_Type == 1) {
    OperationGuard guard(ctx_.lock);
    if (!StartRefused(ctx_, guard, flag)) {
      // The read voltages go up with the data, so the compares run at them.
      bool ok = PrepareHeldDataCompare(ctx_, step);
      for (int run = 0; ok && run < 2; ++run) {
        ok = HeldDataCompare(ctx_, step, {op_text::kError49CommandFail, nullptr, nullptr});
        if (ok) view.Show(Indicator::Pass);
      }
    }
  } else if (ConfirmDevice(ctx_, 2)) {
    view.Show(Indicator::Pass);
    view.Show(Indicator::Wait);
    if (ctx_.device.SecondAreaFollows()) ConfirmSecondArea(ctx_);
  }
  PlayPassSoundIfShown(ctx_);
  ctx_.busy.Clear(flag);
}

void CopySteps::LoadStep() {
  StepPictures& view = ctx_.view;
  if (ctx_.state.FuseMode == 1) {
    if (hooks_.fuse.load) hooks_.fuse.load();
    view.Show(Indicator::Multi);
    view.Show(Indicator::Multi_Hint);
    RefreshStepButtons(ctx_, RefreshModeAfterLoad(ctx_));
    return;
  }
  view.Hide(Step::Type, Layer::h);
  // Only data that really arrived goes on: a damaged file or a cancelled
  // dialog leaves the unit and the sum alone.
  if (hooks_.load_file && hooks_.load_file()) {
    if (ctx_.device.Option_Fuse_Type == 1 && !DownloadToProgrammer()) return;
    EnableRunControls(ctx_);
    view.Show(Indicator::Multi);
    view.Show(Indicator::Multi_Hint);
    RefreshStepButtons(ctx_, RefreshModeAfterLoad(ctx_));
  }
  // The dialog wanted a device first: the Type step, which comes back here
  // once it has one. One round trip, whatever the dialogs leave behind.
  if (ctx_.state.LoadNeedsDevice == 1 && !load_waits_for_type_ && hooks_.type_step) {
    load_waits_for_type_ = true;
    hooks_.type_step();
    load_waits_for_type_ = false;
  }
}

bool CopySteps::DownloadToProgrammer() {
  ProgrammerLink& link = ctx_.link;
  if (!ReconnectProgrammer(ctx_, false)) return false;
  if (!UploadAlgorithm(link) || !SendDeviceParams(link) || !SendDefaultDriverFile(link)) {
    return false;
  }
  PutReadVoltages(ctx_);
  switch (RunHeldDataSum(ctx_, true)) {
    case HeldSumResult::Done:
      break;
    case HeldSumResult::StatusNotClean:
    case HeldSumResult::StatusUnreadable:
      FailurePictures(ctx_.view, Step::Program);
      return false;
    default:
      return false;
  }
  ctx_.state.ProgrammerHasData = 1;
  if (ctx_.option_pages) ctx_.option_pages->StoreUserPageValues();
  return true;
}

void CopySteps::SaveStep() {
  if (ctx_.state.FuseMode == 1) {
    if (hooks_.fuse.save) hooks_.fuse.save();
  } else if (hooks_.save_file) {
    hooks_.save_file();
  }
}

void CopySteps::EditStep(bool fuse_editor) {
  if (fuse_editor && ctx_.state.FuseMode == 1) {
    if (hooks_.copy_page) hooks_.copy_page();
    EnableRunControls(ctx_);
    if (hooks_.fuse.show) hooks_.fuse.show();
    return;
  }
  if (hooks_.edit_page) hooks_.edit_page();
}

void InstallCopySteps(Application& app, FuseEditorSteps fuse) {
  CopyStepHooks hooks;
  hooks.load_file = [&app] {
    LoadSaveContext context = app.LoadSave();
    return LoadFileClick(context);
  };
  hooks.save_file = [&app] {
    LoadSaveContext context = app.LoadSave();
    SaveFileClick(context);
  };
  hooks.type_step = [&app] {
    if (const auto& type = app.commands().step(Step::Type)) type(Layer::h);
  };
  hooks.edit_page = [&app] { app.EditClick(); };
  hooks.copy_page = [&app] { app.CopyBtnClick(); };
  hooks.fuse = std::move(fuse);
  // The checksum button beside the sum field.
  app.commands().checksum = [&app] { v_HintClick(app.operations()); };
  auto steps = std::make_shared<CopySteps>(app.operations(), std::move(hooks));
  for (Step step : {Step::Load, Step::Save, Step::Edit, Step::Read, Step::Confirm, Step::Erase,
                    Step::Blank, Step::Program, Step::Verify, Step::Protect}) {
    app.commands().step(step) = [steps, step](Layer layer) { steps->Click(step, layer); };
  }
}

}  // namespace quenlet
