#include "programmer/held_data_sum.h"

#include <array>

#include "programmer/buffer_upload.h"
#include "programmer/operation_frame.h"
#include "programmer/step_fail.h"
#include "programmer/transport.h"
#include "programmer/uploads.h"
#include "state/operation_messages.h"

namespace quenlet {

HeldSumResult RunProgrammerSum(OperationContext& ctx, uint8_t operation, ProgrammerStatus& status) {
  if (!RunBufferUpload(ctx)) return HeldSumResult::UploadFailed;
  if (!RunOp(ctx, operation)) {
    StepFail(ctx);
    ShowMessage(ctx, op_text::kError49CommandFail);
    return HeldSumResult::RunFailed;
  }
  // A status that cannot be read is no sum: showing one would pass off the
  // previous device's value as this one's.
  if (!ReadStatus(ctx, status)) {
    StepFail(ctx);
    return HeldSumResult::StatusUnreadable;
  }
  if (!status.Clean()) {
    StepFail(ctx);
    return HeldSumResult::StatusNotClean;
  }
  return HeldSumResult::Done;
}

const char* ReadInfoBlock(OperationContext& ctx) {
  if (!SendRequest(ctx.link.transport, request::kAreaRead, area::kOptions, area::kOptionsSize)) {
    return op_text::kInfoReadRequestFail;
  }
  std::array<uint8_t, area::kOptionsSize> block{};
  if (!ReadBulk(ctx, block)) return op_text::kOptionBlockFail;
  ctx.state.InfoBlock = block;
  return nullptr;
}

void ShowSumAgainstLast(OperationContext& ctx, uint32_t sum) {
  ShowSum(ctx, sum);
  const int32_t value = static_cast<int32_t>(sum);
  const bool same = value == ctx.state.LastChecksum;
  ctx.view.SetSumColour(same ? SumColour::WindowText : SumColour::Red);
  if (!same) ctx.state.LastChecksum = value;
}

bool ReconnectProgrammer(OperationContext& ctx, bool step_fail_when_absent) {
  if (ReconnectUnit(ctx.link)) return true;
  if (step_fail_when_absent) StepFail(ctx);
  ctx.messages.Show(ctx.state.NotConnectedText);
  return false;
}

HeldSumResult RunHeldDataSum(OperationContext& ctx, bool read_info_block) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, std::nullopt)) return HeldSumResult::Refused;
  ProgrammerStatus status;
  const HeldSumResult result = RunProgrammerSum(ctx, operation::kChecksumHeld, status);
  if (result != HeldSumResult::Done) return result;
  ShowSumAgainstLast(ctx, status.Checksum());
  if (!read_info_block) return HeldSumResult::Done;
  const char* failure = ReadInfoBlock(ctx);
  if (failure == nullptr) return HeldSumResult::Done;
  StepFail(ctx);
  ShowMessage(ctx, failure);
  return failure == op_text::kInfoReadRequestFail ? HeldSumResult::InfoRequestFailed
                                                  : HeldSumResult::InfoReadFailed;
}

bool HeldDataSum(OperationContext& ctx, bool read_info_block) {
  return RunHeldDataSum(ctx, read_info_block) == HeldSumResult::Done;
}

}  // namespace quenlet
