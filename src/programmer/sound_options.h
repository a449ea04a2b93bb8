#pragma once
// The sound and hot-key settings of the hardware window's System Option
// page: what the page shows when it opens, and what its Exit button keeps.
#include <cstdint>

namespace quenlet {

class Messages;
struct MainFormState;

struct SoundChoices {
  bool play_sound = false;  // "Play a sound when process completed" (else "No Sound")
  int32_t effect = 0;       // the sound_effect item: 0 "Effect Mode", 1 "Easy   Mode"
  bool hot_key = false;     // "Hot Key Function Active"
};

SoundChoices SoundChoicesFromState(const MainFormState& state);

// Exit: SoundOn and the hot-key flag from the choices, then History_1.ini
// [Option] sound_setup := SoundOn and sound_mode := the effect item, as
// decimal text, in one write. When the file cannot be written the box
// "<path> cannot be written." says so and the result is false (the run
// keeps the new settings all the same).
bool StoreSoundChoices(MainFormState& state, const SoundChoices& choices, Messages& messages);

}  // namespace quenlet
