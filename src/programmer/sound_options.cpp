#include "programmer/sound_options.h"

#include "buffer/dialog_result.h"
#include "platform/ini_file.h"
#include "state/main_form_state.h"

namespace quenlet {

SoundChoices SoundChoicesFromState(const MainFormState& state) {
  return {state.SoundOn != 0, state.SoundKind, state.HotKeyFunction != 0};
}

bool StoreSoundChoices(MainFormState& state, const SoundChoices& choices, Messages& messages) {
  state.SoundOn = choices.play_sound ? 1 : 0;
  state.HotKeyFunction = choices.hot_key ? 1 : 0;
  IniBatch batch;
  batch.WriteInteger("Option", "sound_setup", state.SoundOn);
  batch.WriteInteger("Option", "sound_mode", choices.effect);
  return WriteDialogSection(batch, state.HistoryIniFile, messages);
}

}  // namespace quenlet
