#include "programmer/device_program.h"

#include "programmer/block_engine.h"
#include "programmer/operation_frame.h"
#include "programmer/step_fail.h"
#include "state/operation_messages.h"

namespace quenlet {
namespace {

constexpr Step kStep = Step::Program;

// Block bytes 32-37 of programming: the device's program triple; with user
// voltages on, the user program VCC (when set) and the user program VPP
// (even when 0).
void PutProgramVoltages(OperationContext& ctx) {
  uint16_t vcc = DeviceVoltage(ctx, kProgramVcc);
  uint16_t vpp = DeviceVoltage(ctx, kProgramVpp);
  if (ctx.state.UserVoltageOn == 1) {
    if (ctx.state.UserVcc.program_vcc != 0)
      vcc = static_cast<uint16_t>(ctx.state.UserVcc.program_vcc);
    vpp = static_cast<uint16_t>(ctx.state.UserVcc.program_vpp);
  }
  PutVoltages(ctx, vcc, vpp, DeviceVoltage(ctx, kProgramVhh));
}

// Message, failure pictures, StepFail.
bool Fail(OperationContext& ctx, const char* text) {
  ShowBlockFailure(ctx, kStep, {text}, false, false);
  return false;
}

bool ShowRunFailure(OperationContext& ctx, const BlockRunResult& result, bool name_halves) {
  switch (result.failure) {
    case BlockFailure::Params:  // the upload has run StepFail already
      FailurePictures(ctx.view, kStep);
      return false;
    case BlockFailure::NoSource:
      return Fail(ctx, op_text::kNoMemory);
    case BlockFailure::NoStaging:
      ctx.record.ReadDataValid = 0;
      return Fail(ctx, op_text::kNoStaging64K);
    case BlockFailure::Announce:
      return Fail(ctx, op_text::kAnnounceFail);
    case BlockFailure::WriteRequest:
      return Fail(ctx, op_text::kPageWriteRequestFail);
    case BlockFailure::WriteBulk:
      return Fail(ctx, name_halves && result.half == 1 ? op_text::kSecondHalfWriteFail
                                                       : op_text::kFirstHalfWriteFail);
    case BlockFailure::Run:
      return Fail(ctx, op_text::kProgramRunFail);
    default:  // the status could not be read or reports an error
      return Fail(ctx, nullptr);
  }
}

// The pictures of a page that went through.
void PagePassed(OperationContext& ctx) {
  PassPictures(ctx.view, kStep);
  ShowPassUnlessDeferred(ctx);
}

// Plans and readies the data; false after the failure was shown.
std::optional<BlockPlan> Prepare(OperationContext& ctx, BlockOperation operation) {
  PlanOutcome outcome = PlanBlocks(DeviceGeometry::Of(ctx.device, ctx.state), operation);
  if (!outcome.plan) {
    Fail(ctx, outcome.error.c_str());
    return std::nullopt;
  }
  const BlockFailure ready = PrepareSource(ctx, *outcome.plan);
  if (ready != BlockFailure::None) {
    // A buffer that could not grow has shown its own message.
    Fail(ctx, ready == BlockFailure::SourceTooSmall ? nullptr : op_text::kNoMemory);
    return std::nullopt;
  }
  return std::move(outcome.plan);
}

// The word-wide page pictures: the whole block moves under one Wait.
void WordStart(OperationContext& ctx) {
  ctx.view.Hide(Indicator::Pass);
  ctx.view.Show(Indicator::Wait);
  ctx.view.Show(kStep, Layer::w);
  ctx.view.Hide(kStep, Layer::p);
  ctx.view.Hide(kStep, Layer::f);
}

BlockHooks BytePageHooks(OperationContext& ctx, bool move_progress) {
  BlockHooks hooks;
  if (move_progress) {
    hooks.page_start = [&ctx](const PageTransfer& page) {
      ctx.view.SetProgressPosition(page.block_number);
    };
  }
  hooks.after_params = [&ctx](const PageTransfer&) {
    ctx.view.Hide(Indicator::Pass);
    ctx.view.Show(Indicator::Wait);
  };
  hooks.before_run = [&ctx](const PageTransfer&) { ctx.view.Show(kStep, Layer::w); };
  hooks.page_done = [&ctx](const PageTransfer&) { PagePassed(ctx); };
  return hooks;
}

}  // namespace

bool program_1Click(OperationContext& ctx, int mode) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, BusyStep::Program)) return false;
  if (!ReloadDevice(ctx, kStep)) return false;
  const std::optional<BlockPlan> plan = Prepare(ctx, BlockOperation::Program);
  if (!plan) return false;
  ctx.view.Hide(Indicator::Pass);
  ctx.view.Hide(kStep, Layer::n);
  ctx.view.Hide(kStep, Layer::h);
  ctx.view.Show(kStep, Layer::w);
  PutProgramVoltages(ctx);

  if (mode == 0 || mode == 2) {
    ctx.record.StepCode = 5;
    ctx.record.StepCaller = mode;
  }
  if (mode == 2) {
    ctx.view.Hide(kStep, Layer::p);
    ctx.view.Show(kStep, Layer::w);
  }
  ctx.pump.PumpOnce();
  ctx.view.Hide(kStep, Layer::w);

  const bool byte_wide = ctx.device.Width() == DataWidth::Byte;
  BlockHooks hooks;
  if (byte_wide) {
    ctx.view.SetProgressMax(static_cast<int32_t>(plan->block_count));
    ctx.view.SetProgressPosition(0);
    hooks = BytePageHooks(ctx, true);
  } else {
    WordStart(ctx);
    hooks.page_done = [&ctx](const PageTransfer&) { PagePassed(ctx); };
  }
  const BlockRunResult result = RunBlockPlan(ctx, *plan, hooks);
  if (!result.ok()) return ShowRunFailure(ctx, result, false);

  PlayPassSoundIfDue(ctx);
  ctx.view.SetProgressPosition(static_cast<int32_t>(plan->block_count));
  ctx.view.Show(Indicator::Pass);
  return true;
}

bool ProgramSecondArea(OperationContext& ctx) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, BusyStep::Program)) return false;
  if (!ReloadDevice(ctx, kStep)) return false;
  const std::optional<BlockPlan> plan = Prepare(ctx, BlockOperation::ProgramSecond);
  if (!plan) return false;
  PutProgramVoltages(ctx);
  ctx.view.Hide(kStep, Layer::n);
  ctx.view.Hide(kStep, Layer::h);
  const bool goes_on = PumpBeforeFollowUp(ctx);
  ctx.view.Hide(kStep, Layer::w);
  if (!goes_on) return true;

  BlockHooks hooks;
  if (ctx.device.Width() == DataWidth::Byte) {
    hooks = BytePageHooks(ctx, false);
  } else {
    WordStart(ctx);
    hooks.page_done = [&ctx](const PageTransfer&) { PagePassed(ctx); };
  }
  const BlockRunResult result = RunBlockPlan(ctx, *plan, hooks);
  if (!result.ok()) return ShowRunFailure(ctx, result, true);
  return true;
}

}  // namespace quenlet
