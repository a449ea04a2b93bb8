#include "programmer/single_shot_ops.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "programmer/held_data_sum.h"
#include "programmer/operation_frame.h"
#include "programmer/run_controls.h"
#include "programmer/step_fail.h"
#include "programmer/transport.h"
#include "programmer/uploads.h"
#include "state/operation_messages.h"

namespace quenlet {
namespace {

struct SingleShot {
  Step step;
  BusyStep busy;
  uint8_t operation;
  VoltageIndex vcc;  // first of the voltage triple
  bool erase;        // last address counts the second area too; user erase vcc
};

// Block words 16-21 of erase and blank check: the start address words when
// the device has a start address, and the operation's last address when it
// fits a page word.
void PutAddressWords(OperationContext& ctx, uint32_t last_address) {
  DeviceParameterBlock& block = ctx.device.Block;
  const bool start = ctx.device.StartAddress != 0;
  const uint16_t address = start ? block.Word(DeviceParameterBlock::kStartAddressLow) : 0;
  const uint16_t number = start ? block.Word(DeviceParameterBlock::kStartAddressHi) : 0;
  const uint16_t length =
      uint64_t{last_address} + 1 < 0x10000 ? static_cast<uint16_t>(last_address) : 0;
  block.SetPage(address, number, length);
}

// The end of a single-shot operation: request 0x49 with `operation` and the
// status request. `run_fail_text` is shown when request 0x49 fails; other
// failures show the failure pictures and StepFail only.
bool RunAndCheck(OperationContext& ctx, Step step, uint8_t operation, const char* run_fail_text,
                 bool step_fail_around_messages) {
  auto fail = [&](const char* text) {
    if (text != nullptr && step_fail_around_messages) StepFail(ctx);
    if (text != nullptr) ShowMessage(ctx, text);
    FailurePictures(ctx.view, step);
    StepFail(ctx);
    return false;
  };
  if (!RunOp(ctx, operation)) return fail(run_fail_text);
  ProgrammerStatus status;
  if (!ReadStatus(ctx, status)) {
    // The status could not be read: in erase and blank check StepFail comes
    // before the pictures as well.
    if (step_fail_around_messages) StepFail(ctx);
    return fail(nullptr);
  }
  if (!status.Clean()) return fail(nullptr);
  PassPictures(ctx.view, step);
  if (ctx.state.DeferPassImage != 1) ctx.view.Show(Indicator::Pass);
  PlayPassSoundIfDue(ctx);
  ctx.view.SetProgressPosition(100);
  ctx.view.Show(Indicator::Pass);
  return true;
}

bool RunSingleShot(OperationContext& ctx, int mode, const SingleShot& op) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, op.busy)) return false;
  if (!ReloadDevice(ctx, op.step)) return false;
  ctx.view.Hide(op.step, Layer::n);
  ctx.view.Hide(op.step, Layer::h);
  const DeviceParameterBlock& block = ctx.device.Block;
  PutAddressWords(ctx, op.erase ? block.MaxAddress() + block.ExtAddress() : block.MaxAddress());
  ctx.view.SetProgressMax(100);
  ctx.view.SetProgressPosition(0);
  ctx.view.Hide(Indicator::Pass);
  if (mode == 2) {
    ctx.view.Hide(op.step, Layer::p);
    ctx.view.Show(op.step, Layer::w);
  }
  ctx.pump.PumpOnce();
  ctx.view.Hide(op.step, Layer::w);

  uint16_t vcc = DeviceVoltage(ctx, op.vcc);
  const int32_t user_vcc = op.erase ? ctx.state.UserVcc.erase_vcc : ctx.state.UserVcc.vcc;
  if (ctx.state.UserVoltageOn == 1 && user_vcc != 0) vcc = static_cast<uint16_t>(user_vcc);
  PutVoltages(ctx, vcc, DeviceVoltage(ctx, static_cast<VoltageIndex>(op.vcc + 1)),
              DeviceVoltage(ctx, static_cast<VoltageIndex>(op.vcc + 2)));

  if (!SendParams(ctx)) {
    // The upload has run StepFail already.
    FailurePictures(ctx.view, op.step);
    return false;
  }
  ctx.view.Hide(Indicator::Pass);
  ctx.view.Show(Indicator::Wait);
  ctx.view.SetProgressPosition(50);
  return RunAndCheck(ctx, op.step, op.operation, op_text::kCommand49Fail, true);
}

}  // namespace

bool erase_1Click(OperationContext& ctx, int mode) {
  return RunSingleShot(ctx, mode,
                       {Step::Erase, BusyStep::Erase, operation::kErase, kEraseVcc, true});
}

bool check_1Click(OperationContext& ctx, int mode) {
  return RunSingleShot(ctx, mode,
                       {Step::Blank, BusyStep::Blank, operation::kBlankCheck, kReadVcc, false});
}

bool protect_1Click(OperationContext& ctx, int mode) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, BusyStep::Protect)) return false;
  const Step step = Step::Protect;
  if (!ReloadDevice(ctx, step)) return false;
  PutVoltages(ctx, DeviceVoltage(ctx, kProtectVcc), DeviceVoltage(ctx, kProtectVpp),
              DeviceVoltage(ctx, kProtectVhh));
  ctx.view.SetProgressMax(100);
  ctx.view.SetProgressPosition(0);
  ctx.view.Hide(Indicator::Pass);
  ctx.view.Hide(step, Layer::n);
  ctx.view.Hide(step, Layer::h);
  if (mode == 2) ctx.view.Hide(step, Layer::p);
  ctx.pump.PumpOnce();
  ctx.view.Hide(step, Layer::w);

  // Every failure of protect runs StepFail once, after its message.
  auto fail = [&](const char* text) {
    if (text != nullptr) ShowMessage(ctx, text);
    FailurePictures(ctx.view, step);
    StepFail(ctx);
    return false;
  };
  if (!SendParams(ctx)) {
    FailurePictures(ctx.view, step);
    return false;
  }
  ctx.view.Hide(Indicator::Pass);
  ctx.view.Show(Indicator::Wait);
  ctx.view.SetProgressPosition(50);
  if (!Announce(ctx)) return fail(op_text::kAnnounceFail);
  if (!SendRequest(ctx.link.transport, request::kAreaWrite, area::kOptions, area::kOptionsSize)) {
    return fail(nullptr);
  }
  if (!WriteBulk(ctx, ctx.state.ProtectBlock)) {
    return fail(ctx.device.Option_Fuse_Type == 1 ? op_text::kOptionBlockFail : nullptr);
  }
  ctx.view.Hide(Indicator::Pass);
  ctx.view.Show(Indicator::Wait);
  return RunAndCheck(ctx, step, operation::kProtect, op_text::kProtectCommandFail, false);
}

bool v_HintClick(OperationContext& ctx) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, std::nullopt)) return false;
  ctx.view.ShowCopyPage();
  const std::string before = ctx.view.SumText();

  if (ctx.device.Option_Fuse_Type == 1) {
    PutReadVoltages(ctx);
    if (!ReconnectProgrammer(ctx, true)) return false;
    if (!SendDefaultDriverFile(ctx.link) || !SendParams(ctx)) return false;
    ProgrammerStatus status;
    if (RunProgrammerSum(ctx, operation::kChecksumHeldButton, status) != HeldSumResult::Done) {
      return false;
    }
    ShowSum(ctx, status.Checksum());
  } else {
    const DeviceParameterBlock& block = ctx.device.Block;
    int64_t size = int64_t{block.MaxAddress()} + block.ExtAddress() + 1;
    if (ctx.device.Width() == DataWidth::Word) size *= 2;
    // After a confirmed dialog load the sum covers the whole device, both areas.
    if (ctx.state.ChecksumDeviceRange == 1) size = ctx.device.IcDeviceSize;
    ShowSum(ctx, ctx.buffer.GetCheckSum(0, size - 1, 0, ctx.messages, ctx.progress));
  }
  ctx.view.SetSumColour(ctx.view.SumText() == before ? SumColour::WindowText : SumColour::Red);
  EnableRunControls(ctx);
  return true;
}

bool progClick(OperationContext& ctx) {
  OperationGuard guard(ctx.lock);
  if (StartRefused(ctx, guard, BusyStep::Program)) return false;
  const Step step = Step::Program;
  // The test erases the chip with the parameters the unit holds; without a
  // device those are all zero.
  if (RefusedWithoutDevice(ctx, step)) return false;
  ctx.view.Hide(step, Layer::n);
  ctx.view.Hide(step, Layer::h);
  ctx.pump.PumpOnce();
  ctx.view.Hide(step, Layer::w);

  auto fail = [&](const char* text) {
    if (text != nullptr) ShowMessage(ctx, text);
    FailurePictures(ctx.view, step);
    StepFail(ctx);
    return false;
  };
  if (!Announce(ctx)) return fail(op_text::kAnnounceFail);
  if (!SendRequest(ctx.link.transport, request::kAreaWrite, area::kProgramTest,
                   area::kProgramTestSize)) {
    return fail(op_text::kError47CommandFail);
  }
  ctx.pump.Sleep(10);
  if (!ctx.buffer.HasBuffer()) return fail(op_text::kNoMemoryTest);
  // The first 2048 bytes of the buffer; a smaller buffer is padded erased.
  std::array<uint8_t, area::kProgramTestSize> data;
  data.fill(0xFF);
  const auto bytes = ctx.buffer.Bytes();
  std::memcpy(data.data(), bytes.data(), std::min(bytes.size(), data.size()));
  if (!WriteBulk(ctx, data)) return fail(op_text::kError47DataFail);
  if (!RunOp(ctx, operation::kErase)) return fail(op_text::kProgramCommandFail);
  ProgrammerStatus status;
  if (!ReadStatus(ctx, status) || !status.Clean()) return fail(nullptr);
  PassPictures(ctx.view, step);
  if (ctx.state.DeferPassImage != 1) ctx.view.Show(Indicator::Pass);
  PlayPassSoundIfDue(ctx);
  ctx.view.SetProgressPosition(100);
  ctx.view.Show(Indicator::Pass);
  return true;
}

}  // namespace quenlet
