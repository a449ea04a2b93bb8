#pragma once
// The program's sounds as every part of it plays them: a beep the sound
// system refuses is said so in a box, since the operator then hears no pass
// or fail at all.
#include <cstdint>

#include "platform/user_interfaces.h"

namespace quenlet {

inline constexpr const char* kSoundFailText = "Sound Command Fail !!";
inline constexpr const char* kSoundFailCaption = "Error";

class ReportedSound : public Sound {
 public:
  ReportedSound(Sound& target, Messages& messages) : target_(target), messages_(messages) {}

  bool Beep(uint32_t type) override {
    if (target_.Beep(type)) return true;
    messages_.Box(kSoundFailText, kSoundFailCaption, MessageButtons::Ok, MessageIcon::Stop);
    return false;
  }

 private:
  Sound& target_;
  Messages& messages_;
};

}  // namespace quenlet
