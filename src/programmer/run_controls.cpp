#include "programmer/run_controls.h"

#include <initializer_list>

#include "platform/ini_file.h"
#include "programmer/operation_context.h"
#include "state/no_device.h"

namespace quenlet {
namespace {

void SetStepPictures(StepPictures& view, Step step, bool visible) {
  for (Layer layer : {Layer::n, Layer::h, Layer::w, Layer::p, Layer::f}) {
    view.Set(step, layer, visible);
  }
}

}  // namespace

void RefreshStepButtons(OperationContext& ctx, int mode) {
  ctx.pump.PumpOnce();
  const IniFile history(ctx.state.HistoryIniFile);
  if (NoDeviceChosen(history.ReadString("SelectDlg", "Manufacturer", kNoManufacturer))) return;

  struct Row {
    size_t word;
    Step step;
    RunBox box;
  };
  const DeviceParameterBlock& block = ctx.device.Block;
  StepPictures& view = ctx.view;

  // Read (with its confirm step) first.
  const bool can_read = block.Word(DeviceParameterBlock::kReadMode) != 0;
  SetStepPictures(view, Step::Read, can_read);
  SetStepPictures(view, Step::Confirm, can_read);
  if (!can_read) view.EnableBox(RunBox::check_confirm, false);

  for (const Row& row : {Row{DeviceParameterBlock::kEraseMode, Step::Erase, RunBox::CheckBox1},
                         Row{DeviceParameterBlock::kBlankMode, Step::Blank, RunBox::CheckBox2},
                         Row{DeviceParameterBlock::kProgMode, Step::Program, RunBox::CheckBox3},
                         Row{DeviceParameterBlock::kVerifyMode, Step::Verify, RunBox::CheckBox4},
                         Row{DeviceParameterBlock::kProtMode, Step::Protect, RunBox::CheckBox5}}) {
    const bool has = block.Word(row.word) != 0;
    SetStepPictures(view, row.step, has);
    view.EnableBox(row.box, has);
    if (mode == 0) {
      if (!has) {
        view.TickBox(row.box, false);
      } else if (row.box != RunBox::CheckBox5) {
        view.TickBox(row.box, true);
      }
    }
  }

  for (Step step : {Step::Edit, Step::Save}) {
    view.Show(step, Layer::n);
    view.Show(step, Layer::h);
    view.Show(step, Layer::w);
  }
  view.Enable(Control::StopPanel, true);
  view.Enable(Control::RunPanel, true);
  // The controls are set up for the device; nothing has run on it yet, so
  // neither Pass nor Wait is claimed (showing them put a PASS on the window
  // for a device just chosen).
  view.Hide(Indicator::Pass);
  view.Hide(Indicator::Wait);
}

void EnableRunControls(OperationContext& ctx) {
  for (Control c :
       {Control::CopyEraseBtn, Control::CopyCheckBtn, Control::CopyProgramBtn,
        Control::CopyVerifyBtn, Control::CopySecurityBtn, Control::CopyConfirmBtn, Control::Panel9,
        Control::Panel8, Control::Panel5, Control::Run_Hint, Control::Stop_Hint,
        Control::AutoRun_Hint, Control::AutoRun, Control::Stop, Control::Run}) {
    ctx.view.Enable(c, true);
  }
}

}  // namespace quenlet
