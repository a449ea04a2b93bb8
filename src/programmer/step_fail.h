#pragma once
// The common failure indication of the device operations, and the pass and
// fail sounds that go with the step pictures.
#include <cstdint>

#include "programmer/step_fail_sink.h"

namespace quenlet {

class EventPump;
class Sound;
class StepPictures;
struct MainFormState;
struct OperationContext;

// The standard beep.
void PlayPassSound(Sound& sound);
// Kind 0: the stop beep; any other kind: beep, 50 ms, beep, beep, ending at
// the first beep the sound system refuses.
void PlayFailSound(Sound& sound, EventPump& pump, uint8_t kind);

// Hides Pass and Wait and, when sounds are on, plays the fail sound of the
// chosen kind. Shows no message.
void StepFail(StepPictures& view, const MainFormState& state, Sound& sound, EventPump& pump);
void StepFail(OperationContext& ctx);

// StepFail for the programmer link, which reports its own transfer failures.
class StepFailIndicator : public StepFailSink {
 public:
  StepFailIndicator(StepPictures& view, const MainFormState& state, Sound& sound, EventPump& pump)
      : view_(view), state_(state), sound_(sound), pump_(pump) {}
  void StepFail() override;

 private:
  StepPictures& view_;
  const MainFormState& state_;
  Sound& sound_;
  EventPump& pump_;
};

}  // namespace quenlet
