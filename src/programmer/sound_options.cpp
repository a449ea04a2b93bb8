#include "programmer/sound_options.h"

#include "app/main_form_state.h"
#include "platform/ini_file.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"

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
  IniFile history(state.HistoryIniFile);
  if (history.Write(batch)) return true;
  messages.Box(strprintf("%s cannot be written.", history.path().c_str()), "ERROR",
               MessageButtons::Ok, MessageIcon::Stop);
  return false;
}

}  // namespace quenlet
