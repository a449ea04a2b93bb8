#include "programmer/buffer_upload.h"

#include "programmer/block_engine.h"
#include "programmer/operation_frame.h"
#include "programmer/step_fail.h"
#include "state/operation_messages.h"

namespace quenlet {

bool UploadBufferToProgrammer(OperationContext& ctx) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, std::nullopt)) return false;
  return RunBufferUpload(ctx);
}

bool RunBufferUpload(OperationContext& ctx) {
  // The program step's handler is letting the queue run before its own
  // operation: nothing is sent now, and nothing is reported as sent.
  if (ctx.busy.IsSet(BusyStep::Program)) return false;

  auto fail = [&](const char* text) {
    StepFail(ctx);
    ShowMessage(ctx, text);
    StepFail(ctx);
    return false;
  };
  const PlanOutcome outcome =
      PlanBlocks(DeviceGeometry::Of(ctx.device, ctx.state), BlockOperation::Upload);
  if (!outcome.plan) return fail(outcome.error.c_str());
  const BlockPlan& plan = *outcome.plan;

  ctx.pump.PumpOnce();
  switch (PrepareSource(ctx, plan)) {
    case BlockFailure::None:
      break;
    case BlockFailure::SourceTooSmall:  // the buffer has shown why it cannot grow
      StepFail(ctx);
      return false;
    default:
      return fail(op_text::kNoMemory);
  }

  const bool byte_wide = ctx.device.Width() == DataWidth::Byte;
  BlockHooks hooks;
  if (byte_wide) {
    hooks.after_params = [&](const PageTransfer&) {
      ctx.view.Hide(Indicator::Pass);
      ctx.view.Show(Indicator::Wait);
    };
    hooks.before_run = [&](const PageTransfer&) { ctx.view.Show(Step::Program, Layer::w); };
  }
  const BlockRunResult result = RunBlockPlan(ctx, plan, hooks);
  switch (result.failure) {
    case BlockFailure::None:
      return true;
    case BlockFailure::Params:  // the upload has run StepFail already
      return false;
    case BlockFailure::NoSource:
      return fail(op_text::kNoMemory);
    case BlockFailure::NoStaging:
      return fail(op_text::kNoStaging64K);
    case BlockFailure::Announce:
      return fail(op_text::kAnnounceFail);
    case BlockFailure::WriteRequest:
      return fail(op_text::kPageWriteRequestFail);
    default:  // a bulk write
      return fail(op_text::kFirstHalfWriteFail);
  }
}

}  // namespace quenlet
