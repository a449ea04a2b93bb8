#include "programmer/step_fail.h"

#include "app/main_form_state.h"
#include "platform/user_interfaces.h"
#include "programmer/operation_context.h"
#include "programmer/step_pictures.h"

namespace quenlet {

bool PlayPassSound(Sound& sound) {
  return sound.Beep(Sound::kStandardBeep);
}

bool PlayFailSound(Sound& sound, EventPump& pump, uint8_t kind) {
  if (kind == 0) return sound.Beep(Sound::kStopBeep);
  // The three beeps of the other kinds are not checked.
  sound.Beep(Sound::kStandardBeep);
  pump.Sleep(50);
  sound.Beep(Sound::kStandardBeep);
  sound.Beep(Sound::kStandardBeep);
  return true;
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
