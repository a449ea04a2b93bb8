#include "programmer/step_fail.h"

#include "platform/user_interfaces.h"
#include "programmer/operation_context.h"
#include "programmer/step_pictures.h"
#include "state/main_form_state.h"

namespace quenlet {

void PlayPassSound(Sound& sound) {
  sound.Beep(Sound::kStandardBeep);
}

void PlayFailSound(Sound& sound, EventPump& pump, uint8_t kind) {
  if (kind == 0) {
    sound.Beep(Sound::kStopBeep);
    return;
  }
  // The program's sound reports a refused beep in a box; trying the other
  // beeps would only report it again.
  if (!sound.Beep(Sound::kStandardBeep)) return;
  pump.Sleep(50);
  if (!sound.Beep(Sound::kStandardBeep)) return;
  sound.Beep(Sound::kStandardBeep);
}

void StepFail(StepPictures& view, const MainFormState& state, Sound& sound, EventPump& pump) {
  view.Hide(Indicator::Pass);
  view.Hide(Indicator::Wait);
  if (state.SoundOn == 1) PlayFailSound(sound, pump, state.SoundKind);
}

void StepFail(OperationContext& ctx) {
  StepFail(ctx.view, ctx.state, ctx.sound, ctx.pump);
}

void StepFailIndicator::StepFail() {
  quenlet::StepFail(view_, state_, sound_, pump_);
}

}  // namespace quenlet
