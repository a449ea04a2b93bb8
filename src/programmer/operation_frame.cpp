#include "programmer/operation_frame.h"

#include <algorithm>

#include "device/ic_ini_loader.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"
#include "programmer/step_fail.h"
#include "programmer/transport.h"
#include "programmer/uploads.h"
#include "state/operation_messages.h"

namespace quenlet {

bool IcIniReload::Reload() {
  const IcLoadOutcome outcome = loader_.LoadIcParameters(0, 0, 0);
  // A driver that did not go out leaves the unit unfit for the operation.
  return outcome.driver_sent && (outcome.loaded() || outcome.status == IcLoadStatus::NoDeviceFile);
}

bool StartRefused(const OperationContext& ctx, const OperationGuard& guard,
                  std::optional<BusyStep> step) {
  if (!guard.Acquired()) return true;
  return step.has_value() && ctx.busy.IsSet(*step);
}

bool ReloadDevice(OperationContext& ctx, Step step) {
  if (!ctx.reload.Reload()) {
    FailurePictures(ctx.view, step);
    StepFail(ctx);
    return false;
  }
  return !RefusedWithoutDevice(ctx, step);
}

std::string NoDeviceFileText(const OperationContext& ctx) {
  const std::string problem =
      DeviceFileProblem(ProgramPaths(ctx.state.ProgramDir), ctx.device.IcIniPath);
  if (!problem.empty()) return problem;
  // The file was mended after the load found no device in it.
  std::string path = ctx.device.IcIniPath;
  std::replace(path.begin(), path.end(), '\\', '/');
  return strprintf(op_text::kCannotOpenFileFormat, path.c_str());
}

bool RefusedWithoutDevice(OperationContext& ctx, Step step) {
  if (!ctx.device.HoldsNoDevice) return false;
  ShowMessage(ctx, NoDeviceFileText(ctx).c_str());
  FailurePictures(ctx.view, step);
  StepFail(ctx);
  return true;
}

uint16_t DeviceVoltage(const OperationContext& ctx, VoltageIndex index) {
  return ctx.device.OperationVoltages.at(index);
}

void PutVoltages(OperationContext& ctx, uint16_t vcc, uint16_t vpp, uint16_t vhh) {
  ctx.device.Block.SetCurrentVoltages(vcc, vpp, vhh);
}

void PutReadVoltages(OperationContext& ctx, int32_t vcc_override) {
  const uint16_t vcc =
      vcc_override != 0 ? static_cast<uint16_t>(vcc_override) : DeviceVoltage(ctx, kReadVcc);
  PutVoltages(ctx, vcc, DeviceVoltage(ctx, kReadVpp), DeviceVoltage(ctx, kReadVhh));
}

void FailurePictures(StepPictures& view, Step step) {
  view.Hide(step, Layer::w);
  view.Hide(step, Layer::p);
  view.Show(step, Layer::f);
}

void PassPictures(StepPictures& view, Step step) {
  view.Hide(step, Layer::w);
  view.Show(step, Layer::p);
}

void ShowPassUnlessDeferred(OperationContext& ctx) {
  if (ctx.state.DeferPassImage == 1) {
    ctx.record.DeferPassPending = 0;
  } else {
    ctx.view.Show(Indicator::Pass);
  }
}

void PlayPassSoundIfShown(OperationContext& ctx) {
  if (ctx.state.SoundOn == 1 && ctx.view.Visible(Indicator::Pass)) PlayPassSound(ctx.sound);
}

void PlayPassSoundIfDue(OperationContext& ctx) {
  if (ctx.state.RunArmed == 0) PlayPassSoundIfShown(ctx);
}

void RestoreCopyPage(OperationContext& ctx, Step step, bool with_erase_and_blank) {
  StepPictures& view = ctx.view;
  view.Enable(Control::Panel7, true);
  view.Enable(Control::CopyReadBtn, true);
  view.Show(step, Layer::n);
  view.Show(step, Layer::w);
  for (Layer layer : {Layer::n, Layer::h, Layer::w}) view.Show(Step::Load, layer);
  if (with_erase_and_blank) {
    view.Enable(Control::CopyEraseBtn, true);
    view.Enable(Control::CopyCheckBtn, true);
    for (Step s : {Step::Erase, Step::Blank}) {
      for (Layer layer : {Layer::n, Layer::h, Layer::w}) view.Show(s, layer);
    }
  }
  ctx.state.RunReady = 1;
}

void ShowBlockFailure(OperationContext& ctx, Step step, std::initializer_list<const char*> texts,
                      bool step_fail_first, bool step_fail_after) {
  if (step_fail_first) StepFail(ctx);
  for (const char* text : texts) {
    if (text != nullptr) ShowMessage(ctx, text);
  }
  FailurePictures(ctx.view, step);
  if (!step_fail_first || step_fail_after) StepFail(ctx);
}

void ShowMessage(OperationContext& ctx, const char* text) {
  ctx.messages.Show(text);
}

bool SendParams(OperationContext& ctx) {
  return SendDeviceParams(ctx.link);
}

bool Announce(OperationContext& ctx) {
  return SendRequest(ctx.link.transport, request::kAnnounce, 0, 0);
}

bool RunOp(OperationContext& ctx, uint8_t operation) {
  return RunOperation(ctx.link.transport, operation);
}

bool ReadStatus(OperationContext& ctx, ProgrammerStatus& status) {
  return ReadProgrammerStatus(ctx.link.transport, status);
}

bool WritePageRequest(OperationContext& ctx) {
  return SendRequest(ctx.link.transport, request::kPageWrite, area::kPage, area::kPageHalfSize);
}

bool WriteBulk(OperationContext& ctx, std::span<const uint8_t> data) {
  return ctx.link.transport.UsbDataWrite(static_cast<uint32_t>(data.size()), data.data());
}

bool ReadPageRequest(OperationContext& ctx) {
  return SendRequest(ctx.link.transport, request::kPageRead, area::kPage, area::kPageHalfSize);
}

bool ReadBulk(OperationContext& ctx, std::span<uint8_t> data) {
  return ctx.link.transport.UsbDataRead(static_cast<uint32_t>(data.size()), data.data());
}

void ShowSum(OperationContext& ctx, uint32_t sum) {
  ctx.view.SetSum(strprintf("%08lX", static_cast<unsigned long>(sum)));
}

bool PumpBeforeFollowUp(OperationContext& ctx) {
  const bool in_pass = ctx.state.RunArmed == 1;
  ctx.pump.PumpOnce();
  return !in_pass || (ctx.state.RunArmed == 1 && ctx.state.StopRequest == 0);
}

}  // namespace quenlet
