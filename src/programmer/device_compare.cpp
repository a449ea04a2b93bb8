#include "programmer/device_compare.h"

#include <optional>
#include <vector>

#include "programmer/block_engine.h"
#include "programmer/buffer_upload.h"
#include "programmer/operation_frame.h"
#include "programmer/run_controls.h"
#include "programmer/step_fail.h"
#include "state/operation_messages.h"

namespace quenlet {
namespace {

// One compare in its dress: the step whose pictures it shows, and whether it
// follows confirm's failure rules (StepFail before the message, confirm's
// status texts) and restores the Copy page after a status error.
struct Dress {
  Step step;
  BlockOperation operation;
  bool confirm_rules;
  bool main_area;
};

constexpr Dress kVerify{Step::Verify, BlockOperation::Verify, false, true};
constexpr Dress kConfirm{Step::Confirm, BlockOperation::Confirm, true, true};
constexpr Dress kVerifySecond{Step::Verify, BlockOperation::CompareSecond, false, false};
constexpr Dress kConfirmSecond{Step::Confirm, BlockOperation::CompareSecond, true, false};

bool Protected(const ProgrammerStatus& s) {
  return s.OperationErrors() == 0 && s.SystemErrors() == 4;
}

// The status texts of a compare whose status reports an error.
std::vector<const char*> StatusTexts(const Dress& dress, bool word_wide, bool second_half,
                                     const ProgrammerStatus& status) {
  if (dress.operation == BlockOperation::Verify) return {op_text::kProtectedCantRead};
  if (!word_wide) {
    return {Protected(status) ? op_text::kProtectedUpper : op_text::kIcErrorComma,
            op_text::kProtectedCantRead};
  }
  if (!second_half) {
    return {Protected(status) ? op_text::kProtectedCantRead : op_text::kIcErrorPlain};
  }
  return {Protected(status) ? op_text::kProtectedUpper : op_text::kIcErrorComma};
}

void ShowTexts(OperationContext& ctx, const Dress& dress, const std::vector<const char*>& texts,
               bool run_failed) {
  if (dress.confirm_rules) StepFail(ctx);
  for (const char* text : texts) ShowMessage(ctx, text);
  FailurePictures(ctx.view, dress.step);
  if (!dress.confirm_rules || run_failed) StepFail(ctx);
}

bool ShowCompareFailure(OperationContext& ctx, const Dress& dress, const BlockPlan* plan,
                        const BlockRunResult& result) {
  const bool word_wide = ctx.device.Width() == DataWidth::Word;
  if (word_wide) ctx.record.ReadDataValid = 0;
  switch (result.failure) {
    case BlockFailure::Params:  // the upload has run StepFail already
      FailurePictures(ctx.view, dress.step);
      break;
    case BlockFailure::NoSource:
      ShowTexts(ctx, dress, {op_text::kNoMemory}, false);
      break;
    case BlockFailure::NoStaging:
      ShowTexts(ctx, dress, {op_text::kNoStaging64K}, false);
      break;
    case BlockFailure::Run:
      ShowTexts(ctx, dress, {op_text::kCommand49Fail}, true);
      break;
    case BlockFailure::StatusError: {
      const bool second_half = plan && plan->pages[result.page].block_address != 0;
      ShowTexts(ctx, dress, StatusTexts(dress, word_wide, second_half, result.status), false);
      if (dress.main_area) RestoreCopyPage(ctx, dress.step, dress.confirm_rules);
      break;
    }
    case BlockFailure::ReadRequest:
      ShowTexts(ctx, dress, {op_text::kPageReadRequestFail}, false);
      break;
    case BlockFailure::ReadBulk:
      ShowTexts(ctx, dress, {op_text::kPageReadDataFail}, false);
      break;
    default:  // the status could not be read, or the buffer could not grow
      ShowTexts(ctx, dress, {}, false);
      break;
  }
  return false;
}

std::optional<BlockPlan> PlanCompare(OperationContext& ctx, const Dress& dress) {
  PlanOutcome outcome = PlanBlocks(DeviceGeometry::Of(ctx.device, ctx.state), dress.operation);
  if (!outcome.plan) {
    ShowTexts(ctx, dress, {outcome.error.c_str()}, false);
    return std::nullopt;
  }
  const BlockFailure ready = PrepareSource(ctx, *outcome.plan);
  if (ready != BlockFailure::None) {
    BlockRunResult failed;
    failed.failure = ready;
    ShowCompareFailure(ctx, dress, nullptr, failed);
    return std::nullopt;
  }
  return std::move(outcome.plan);
}

// Runs the compare and shows its end: passed (`_p` over `_f`) or failed.
bool RunCompare(OperationContext& ctx, const Dress& dress, const BlockPlan& plan,
                const BlockHooks& hooks) {
  const BlockRunResult result = RunBlockPlan(ctx, plan, hooks);
  ctx.record.Mismatches = result.mismatches;
  if (!result.ok()) return ShowCompareFailure(ctx, dress, &plan, result);
  StepPictures& view = ctx.view;
  if (result.mismatches != 0) {
    FailurePictures(view, dress.step);
    StepFail(ctx);
    return false;
  }
  view.Hide(dress.step, Layer::w);
  view.Show(dress.step, Layer::p);
  view.Show(dress.step, Layer::f);
  if (dress.main_area) {
    ShowPassUnlessDeferred(ctx);
    PlayPassSoundIfDue(ctx);
    view.Hide(dress.step, Layer::w);
    view.SetProgressPosition(view.ProgressMax());
    view.Show(Indicator::Pass);
  }
  return true;
}

BlockHooks ProgressHooks(OperationContext& ctx) {
  BlockHooks hooks;
  hooks.page_start = [&ctx](const PageTransfer& page) {
    ctx.view.SetProgressPosition(page.block_number);
  };
  return hooks;
}

bool VerifyHeldData(OperationContext& ctx) {
  const Step step = Step::Verify;
  if (!PrepareHeldDataCompare(ctx, step) ||
      !HeldDataCompare(ctx, step, {op_text::kCommandFail49, op_text::kCommandFail49, nullptr})) {
    return false;
  }
  PlayPassSoundIfDue(ctx);
  ctx.view.Hide(step, Layer::w);
  ctx.view.SetProgressPosition(ctx.view.ProgressMax());
  ctx.view.Show(Indicator::Pass);
  return true;
}

bool RunConfirmDevice(OperationContext& ctx, int mode) {
  const Dress& dress = kConfirm;
  StepPictures& view = ctx.view;
  PutReadVoltages(ctx, ctx.state.ProgrammerHasData != 0 ? ctx.state.UserVcc.vcc : 0);
  const std::optional<BlockPlan> plan = PlanCompare(ctx, dress);
  if (!plan) return false;
  view.Hide(dress.step, Layer::n);
  view.Hide(dress.step, Layer::h);
  view.Hide(Indicator::Pass);
  view.Show(dress.step, Layer::w);
  if (mode == 0) {
    for (Layer layer : {Layer::n, Layer::h, Layer::w}) view.Show(Step::Read, layer);
  } else if (mode == 2 && ctx.record.ReadDataValid == 1) {
    for (Layer layer : {Layer::n, Layer::h, Layer::w}) view.Hide(Step::Read, layer);
  }
  if (mode == 0 || mode == 2) {
    ctx.record.StepCode = 2;
    ctx.record.StepCaller = mode;
  }
  ctx.pump.PumpOnce();
  view.Show(dress.step, Layer::w);
  view.Show(Indicator::Wait);
  view.Hide(Indicator::Pass);
  view.SetProgressPosition(0);
  view.SetProgressMax(static_cast<int32_t>(plan->block_count));
  return RunCompare(ctx, dress, *plan, ProgressHooks(ctx));
}

bool RunSecondCompare(OperationContext& ctx, const Dress& dress) {
  PutReadVoltages(ctx);
  const std::optional<BlockPlan> plan = PlanCompare(ctx, dress);
  if (!plan) return false;
  if (!PumpBeforeFollowUp(ctx)) return true;
  ctx.view.Show(dress.step, Layer::w);
  return RunCompare(ctx, dress, *plan, {});
}

}  // namespace

bool PrepareHeldDataCompare(OperationContext& ctx, Step step, int32_t vcc_override) {
  ctx.view.Hide(step, Layer::n);
  ctx.view.Hide(step, Layer::h);
  ctx.view.Show(step, Layer::w);
  PutReadVoltages(ctx, vcc_override);
  if (RunBufferUpload(ctx)) return true;
  FailurePictures(ctx.view, step);
  return false;
}

bool HeldDataCompare(OperationContext& ctx, Step step, const HeldCompareTexts& texts) {
  auto fail = [&](const char* text) {
    FailurePictures(ctx.view, step);
    StepFail(ctx);
    if (text != nullptr) ShowMessage(ctx, text);
    return false;
  };
  if (!RunOp(ctx, operation::kVerifyHeld)) return fail(texts.run_failed);
  ProgrammerStatus status;
  if (!ReadStatus(ctx, status)) return fail(texts.status_unreadable);
  if (!status.Clean()) return fail(texts.status_not_clean);
  ctx.view.Hide(step, Layer::w);
  ctx.view.Show(step, Layer::p);
  ctx.view.Hide(step, Layer::f);
  return true;
}

bool verify_1Click(OperationContext& ctx, int mode) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, BusyStep::Verify)) return false;
  const Dress& dress = kVerify;
  if (!ReloadDevice(ctx, dress.step)) return false;
  if (ctx.device.Option_Fuse_Type == 1) return VerifyHeldData(ctx);

  StepPictures& view = ctx.view;
  PutReadVoltages(ctx);
  const std::optional<BlockPlan> plan = PlanCompare(ctx, dress);
  if (!plan) return false;
  view.Hide(dress.step, Layer::n);
  view.Hide(dress.step, Layer::h);
  view.Hide(Indicator::Pass);
  view.Show(dress.step, Layer::w);
  if (mode == 0 || mode == 2) {
    ctx.record.StepCode = 6;
    ctx.record.StepCaller = mode;
  }
  ctx.pump.PumpOnce();
  view.Show(dress.step, Layer::w);
  view.Show(Indicator::Wait);
  view.Hide(Indicator::Pass);
  view.SetProgressMax(100);
  view.SetProgressPosition(1);
  return RunCompare(ctx, dress, *plan, ProgressHooks(ctx));
}

bool ConfirmDevice(OperationContext& ctx, int mode) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, BusyStep::Confirm)) return false;
  if (!ReloadDevice(ctx, Step::Confirm)) return false;
  return RunConfirmDevice(ctx, mode);
}

bool confirm_nClick(OperationContext& ctx) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, BusyStep::Confirm)) return false;
  const Step step = Step::Confirm;
  RefreshStepButtons(ctx, 2);
  if (!ReloadDevice(ctx, step)) return false;
  ctx.view.Hide(Indicator::Pass);
  ctx.view.Show(Indicator::Wait);

  bool ok = true;
  if (ctx.device.Option_Fuse_Type == 1) {
    ctx.view.Hide(step, Layer::n);
    ctx.view.Hide(step, Layer::h);
    ctx.view.Show(step, Layer::w);
    ctx.view.Show(Indicator::Wait);
    ok = RunBufferUpload(ctx);
    if (!ok) FailurePictures(ctx.view, step);
    // Two programmer-side compares, one after the other.
    for (int run = 0; ok && run < 2; ++run) {
      PutReadVoltages(ctx);
      if (!SendParams(ctx)) {
        FailurePictures(ctx.view, step);
        ok = false;
        break;
      }
      ok = HeldDataCompare(ctx, step, {op_text::kCommandFail, nullptr, nullptr});
    }
  } else {
    // The second area counts only after the main area passed: a pass there
    // must not cover a failure here.
    ok = RunConfirmDevice(ctx, 0);
    if (ok && ctx.device.HasSecondArea()) ok = RunSecondCompare(ctx, kConfirmSecond);
  }
  PlayPassSoundIfShown(ctx);
  return ok;
}

bool VerifySecondArea(OperationContext& ctx) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, std::nullopt)) return false;
  if (!ReloadDevice(ctx, Step::Verify)) return false;
  return RunSecondCompare(ctx, kVerifySecond);
}

bool ConfirmSecondArea(OperationContext& ctx) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, BusyStep::Confirm)) return false;
  if (!ReloadDevice(ctx, Step::Confirm)) return false;
  return RunSecondCompare(ctx, kConfirmSecond);
}

}  // namespace quenlet
