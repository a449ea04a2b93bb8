#include "programmer/device_read.h"

#include <array>
#include <optional>

#include "platform/strprintf.h"
#include "programmer/block_engine.h"
#include "programmer/held_data_sum.h"
#include "programmer/operation_frame.h"
#include "programmer/run_controls.h"
#include "programmer/step_fail.h"
#include "programmer/transport.h"
#include "state/operation_messages.h"

namespace quenlet {
namespace {

constexpr Step kStep = Step::Read;

// The four read routines differ in their messages.
enum class Routine { MainBytes, MainWords, SecondBytes, SecondWords };

bool Words(Routine r) {
  return r == Routine::MainWords || r == Routine::SecondWords;
}

BlockOperation OperationOf(Routine r) {
  switch (r) {
    case Routine::MainBytes:
      return BlockOperation::ReadBytes;
    case Routine::MainWords:
      return BlockOperation::ReadWords;
    case Routine::SecondBytes:
      return BlockOperation::ReadSecondBytes;
    default:
      return BlockOperation::ReadSecondWords;
  }
}

// The reads run StepFail before their message; every failure of a read
// leaves the buffer's contents unconfirmed.
bool Fail(OperationContext& ctx, std::initializer_list<const char*> texts,
          bool run_failed = false) {
  ShowBlockFailure(ctx, kStep, texts, true, run_failed);
  ctx.record.ReadDataValid = 0;
  return false;
}

const char* StatusText(Routine r, const ProgrammerStatus& status, bool second_half) {
  if (r == Routine::SecondBytes) return op_text::kIcErrorTwoSpaces;
  if (status.OperationErrors() == 0 && status.SystemErrors() == 4) return op_text::kProtectedUpper;
  return Words(r) && second_half ? op_text::kIcErrorComma : op_text::kIcErrorTwoSpaces;
}

bool ShowReadFailure(OperationContext& ctx, Routine r, const BlockPlan& plan,
                     const BlockRunResult& result) {
  const bool words = Words(r);
  switch (result.failure) {
    case BlockFailure::Params:  // the upload has run StepFail already
      FailurePictures(ctx.view, kStep);
      ctx.record.ReadDataValid = 0;
      return false;
    case BlockFailure::NoSource:
      return Fail(ctx, {r == Routine::SecondBytes ? nullptr : op_text::kNoMemory});
    case BlockFailure::SourceTooSmall:
      return Fail(ctx, {});
    case BlockFailure::NoStaging:
      return Fail(ctx, {words ? op_text::kNoStaging128K : op_text::kNoStaging64K});
    case BlockFailure::Run:
      return Fail(ctx, {r == Routine::MainBytes ? op_text::kReadRunFail : op_text::kCommand49Fail},
                  true);
    case BlockFailure::StatusError: {
      const bool second_half = plan.pages[result.page].block_address != 0;
      Fail(ctx, {StatusText(r, result.status, second_half)});
      RestoreCopyPage(ctx, kStep, true);
      return false;
    }
    case BlockFailure::ReadRequest:
      return Fail(ctx, {words ? op_text::kPageReadRequestFail : nullptr});
    case BlockFailure::ReadBulk:
      return Fail(ctx, {words ? op_text::kPageReadDataFail : nullptr});
    default:  // the status could not be read
      return Fail(ctx, {});
  }
}

// Runs one routine's plan; false after its failure was shown.
std::optional<BlockRunResult> RunRead(OperationContext& ctx, Routine r, BlockPlan& plan_out) {
  PlanOutcome outcome = PlanBlocks(DeviceGeometry::Of(ctx.device, ctx.state), OperationOf(r));
  if (!outcome.plan) {
    Fail(ctx, {outcome.error.c_str()});
    return std::nullopt;
  }
  plan_out = std::move(*outcome.plan);
  const BlockFailure ready = PrepareSource(ctx, plan_out);
  if (ready != BlockFailure::None) {
    BlockRunResult failed;
    failed.failure = ready;
    ShowReadFailure(ctx, r, plan_out, failed);
    return std::nullopt;
  }

  // Read voltages; the user VCC replaces the device's in all but the main
  // byte routine.
  PutReadVoltages(
      ctx, r != Routine::MainBytes && ctx.state.UserVoltageOn == 1 ? ctx.state.UserVcc.vcc : 0);

  BlockHooks hooks;
  const bool into_fuses = plan_out.source == DataSource::FuseMap;
  if (r == Routine::MainBytes) {
    ctx.view.SetProgressPosition(0);
    ctx.view.SetProgressMax(static_cast<int32_t>(plan_out.block_count));
    hooks.page_start = [&ctx](const PageTransfer& page) {
      ctx.view.SetProgressPosition(page.block_number);
    };
  }
  // The editor is redrawn once per block.
  const BlockPlan& plan = plan_out;
  hooks.page_done = [&ctx, &plan, into_fuses](const PageTransfer& page) {
    if (into_fuses || !ctx.refresh_editor) return;
    const bool last_of_block =
        &page == &plan.pages.back() || (&page + 1)->block_number != page.block_number;
    if (last_of_block) ctx.refresh_editor();
  };
  BlockRunResult result = RunBlockPlan(ctx, plan_out, hooks);
  if (!result.ok()) {
    ShowReadFailure(ctx, r, plan_out, result);
    return std::nullopt;
  }
  ctx.state.LaneReadSum += result.lane_sum;
  ctx.record.ReadSum += result.placed_sum;
  return result;
}

void ShowReadPictures(OperationContext& ctx) {
  for (Layer layer : {Layer::n, Layer::h, Layer::w}) ctx.view.Hide(kStep, layer);
  ctx.view.Show(kStep, Layer::p);
  ctx.view.Show(kStep, Layer::f);
}

// The checksum of the buffer range the editor shows after a read.
uint32_t BufferSum(OperationContext& ctx, int64_t start, int64_t end) {
  return ctx.buffer.GetCheckSum(start, end, 0, ctx.messages, ctx.progress);
}

// Devices whose programmer keeps the data: the option block read back into
// InfoBlock and the programmer's own sum shown.
bool FinishHeldDataRead(OperationContext& ctx, const ProgrammerStatus& status) {
  if (const char* failure = ReadInfoBlock(ctx)) return Fail(ctx, {failure});
  if (ctx.option_pages != nullptr) ctx.option_pages->StoreUserPageValues();
  ShowSumAgainstLast(ctx, status.Checksum());
  return true;
}

}  // namespace

bool ReadDeviceBytes(OperationContext& ctx) {
  ctx.state.LaneReadSum = 0;
  BlockPlan plan;
  if (!RunRead(ctx, Routine::MainBytes, plan)) return false;
  ShowReadPictures(ctx);
  ctx.view.Show(Indicator::Pass);
  ctx.record.ReadDataValid = 1;

  if (plan.source == DataSource::FuseMap) {
    ctx.fuse_map.NotifyChanged();
    const uint32_t sum = ctx.fuse_map.CheckSum();
    const bool changed = ctx.fuse_map.TakeShownSum(sum);
    ctx.view.SetSumColour(changed ? SumColour::Red : SumColour::WindowText);
    ShowSum(ctx, sum);
  } else {
    const uint32_t sum = BufferSum(ctx, ctx.device.StartAddress, ctx.device.Block.MaxAddress());
    // With lanes the buffer range holds other lanes too: the sum is that of
    // the bytes this read placed.
    ShowSum(ctx, ctx.state.Lane.code() != 0 ? ctx.state.LaneReadSum : sum);
  }
  ctx.view.SetProgressPosition(static_cast<int32_t>(plan.block_count));
  ctx.view.Show(Indicator::Multi);
  ctx.view.Show(Indicator::Multi_Hint);
  return true;
}

bool ReadDeviceWords(OperationContext& ctx) {
  BlockPlan plan;
  const std::optional<BlockRunResult> result = RunRead(ctx, Routine::MainWords, plan);
  if (!result) return false;
  ShowReadPictures(ctx);
  ctx.record.ReadDataValid = 1;
  if (ctx.device.Option_Fuse_Type == 1) {
    if (!FinishHeldDataRead(ctx, result->status)) return false;
  } else {
    ShowSum(ctx, BufferSum(ctx, ctx.device.StartAddress, static_cast<int64_t>(plan.extent) - 1));
  }
  ctx.view.Show(Indicator::Multi);
  ctx.view.Show(Indicator::Multi_Hint);
  return true;
}

bool ReadSecondAreaBytes(OperationContext& ctx) {
  BlockPlan plan;
  if (!RunRead(ctx, Routine::SecondBytes, plan)) return false;
  ctx.record.ReadDataValid = 1;
  const DeviceParameterBlock& block = ctx.device.Block;
  // The editor's sum range covers both areas.
  BufferSum(ctx, 0, int64_t{block.MaxAddress()} + block.ExtAddress() + 1);
  ShowSum(ctx, ctx.record.ReadSum);
  return true;
}

bool ReadSecondAreaWords(OperationContext& ctx) {
  BlockPlan plan;
  if (!RunRead(ctx, Routine::SecondWords, plan)) return false;
  ShowReadPictures(ctx);
  ctx.record.ReadDataValid = 1;
  const DeviceParameterBlock& block = ctx.device.Block;
  BufferSum(ctx, 0, 2 * (int64_t{block.MaxAddress()} + 1) + static_cast<int64_t>(plan.extent) - 1);
  ShowSum(ctx, ctx.record.ReadSum);
  ctx.view.Show(Indicator::Multi);
  ctx.view.Show(Indicator::Multi_Hint);
  return true;
}

bool readClick(OperationContext& ctx) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, BusyStep::Read)) return false;
  ctx.state.ChecksumDeviceRange = 0;
  if (!ReloadDevice(ctx, kStep)) {
    ctx.record.ReadDataValid = 0;
    return false;
  }
  ctx.record.StepCode = 1;
  ctx.view.Hide(kStep, Layer::w);
  ctx.record.ReadSum = 0;

  const uint16_t read_mode = ctx.device.Block.Word(DeviceParameterBlock::kReadMode);
  const int routine = read_mode >> 8;
  const bool second = ctx.device.SecondAreaFollows();
  bool ok = false;
  if (routine == 0 || routine == 1) {
    ok = ReadDeviceBytes(ctx) && (!second || ReadSecondAreaBytes(ctx));
  } else if (routine == 4) {
    ok = ReadDeviceWords(ctx) && (!second || ReadSecondAreaWords(ctx));
  } else {
    const std::string text = strprintf(op_text::kUnknownReadRoutineFormat, read_mode);
    Fail(ctx, {text.c_str()});
  }

  EnableRunControls(ctx);
  ctx.view.EnableBox(RunBox::check_confirm, true);

  const uint16_t kind = ctx.device.Option_Fuse_Type;
  if (ok && (kind == 2 || kind == 3)) {
    // The programmer prepares the device's option page; no status follows.
    if (!RunOp(ctx, operation::kChecksumHeld)) {
      StepFail(ctx);
      ShowMessage(ctx, op_text::kError49CommandFail);
      return false;
    }
    // A user page that could not be read fails the read.
    if (ctx.option_pages != nullptr && !ctx.option_pages->ReadUserPageFromDevice()) return false;
  }
  return ok;
}

}  // namespace quenlet
