#include "app/device_setup.h"

#include "programmer/held_data_sum.h"
#include "programmer/operation_context.h"
#include "programmer/uploads.h"

namespace quenlet {

void ProgrammerDeviceSetup::Apply(bool part_changed) {
  StepPictures& view = ctx_.view;
  // DeviceChanged still tells of the OK before this one.
  if (ctx_.device.DeviceChanged != 1) {
    for (Control c :
         {Control::CopyEraseBtn, Control::CopyCheckBtn, Control::Panel7, Control::CopyReadBtn}) {
      view.Enable(c, true);
    }
    for (Step step : {Step::Blank, Step::Erase}) {
      for (Layer layer : {Layer::n, Layer::w, Layer::h, Layer::p, Layer::f}) view.Show(step, layer);
    }
    for (Layer layer : {Layer::n, Layer::w}) view.Show(Step::Read, layer);
    for (Layer layer : {Layer::n, Layer::h, Layer::w}) view.Show(Step::Load, layer);
  }
  ctx_.state.UserVoltageOn = 0;
  ctx_.device.KeepIcIniPath = 0;
  view.Show("Label25");
  view.Show(Indicator::Multi);
  view.Show(Indicator::Multi_Hint);
  ctx_.device.DeviceChanged = part_changed ? 1 : 0;

  if (apply_buffer_size_) apply_buffer_size_();
  ctx_.state.SetDataSetMode(0);
  ReopenAndConfigure(ctx_.link);

  if (ctx_.device.Option_Fuse_Type == 1) {
    if (ReconnectProgrammer(ctx_, true)) HeldDataSum(ctx_, false);
    return;
  }
  // The range as users have always had it (their recorded sums depend on
  // it): with a start address the end is inclusive, one byte past the device.
  const uint32_t sum = ctx_.buffer.GetCheckSum(ctx_.device.StartAddress, ctx_.device.IcDeviceSize,
                                               0, ctx_.messages, ctx_.progress);
  ShowSumAgainstLast(ctx_, sum);
}

}  // namespace quenlet
