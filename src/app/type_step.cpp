#include "app/type_step.h"

#include "programmer/operation_context.h"
#include "programmer/run_controls.h"

namespace quenlet {

void TypeStep(OperationContext& ctx, const TypeStepHooks& hooks) {
  ctx.view.Hide(Step::Type, Layer::h);
  if (hooks.show_dialog) hooks.show_dialog();
  ctx.state.VerifyMode = 0;
  ctx.state.SetDataSetMode(0);
  ctx.state.RunReady = 1;
  ctx.state.ProgrammerHasData = 0;
  if (ctx.device.DialogCancelled == 0) {
    if (hooks.choice && hooks.relabel) {
      const auto [manufacturer, part] = hooks.choice();
      hooks.relabel(manufacturer, part);
    }
    RefreshStepButtons(ctx, 0);
    if (hooks.follow_device) hooks.follow_device();
  }
  if (ctx.state.LoadNeedsDevice == 1 && hooks.load_step) hooks.load_step();
}

}  // namespace quenlet
