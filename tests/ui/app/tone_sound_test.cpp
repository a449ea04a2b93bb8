// The pass and fail tones: on a machine without an audio device (the build
// machines) the bell rings instead and the sound counts as taken, so a run
// without sound raises no "Sound Command Fail !!" per pass.
#include <gtest/gtest.h>

#include <QMediaDevices>

#include "ui/app/qt_services.h"

namespace quenlet {
namespace {

TEST(ToneSoundTest, EveryBeepIsTakenWithOrWithoutAnAudioDevice) {
  ToneSound sound;
  for (uint32_t type : {Sound::kStandardBeep, Sound::kStopBeep, Sound::kStandardBeep}) {
    EXPECT_TRUE(sound.Beep(type)) << type;
  }
}

}  // namespace
}  // namespace quenlet
