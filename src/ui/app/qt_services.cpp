#include "ui/app/qt_services.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QThread>
#include <cmath>

#include "app/application.h"
#include "ui/controls/display_text.h"
#include "ui/controls/message_box_window.h"

namespace quenlet {
namespace {

// The standard beep: 880 Hz for 120 ms; the stop beep: 220 Hz for 400 ms.
struct Tone {
  double hertz;
  int milliseconds;
};
Tone ToneFor(uint32_t type) {
  return type == Sound::kStopBeep ? Tone{220, 400} : Tone{880, 120};
}

// The tone in the sink's format, with a short fade at either end (no click)
// and 40 ms of silence after it, so that tones in a row stay apart.
QByteArray Samples(const Tone& tone, const QAudioFormat& format) {
  const int rate = format.sampleRate();
  const int channels = format.channelCount();
  const int frames = rate * tone.milliseconds / 1000;
  const int silence = rate * 40 / 1000;
  const int fade = std::max(1, rate * 5 / 1000);
  QByteArray out(format.bytesForFrames(frames + silence), '\0');
  const int bytes_per_sample = format.bytesPerSample();
  char* at = out.data();
  for (int i = 0; i < frames + silence; ++i) {
    double v = 0;
    if (i < frames) {
      const double envelope = std::min({1.0, double(i) / fade, double(frames - i) / fade});
      v = 0.3 * envelope * std::sin(2 * M_PI * tone.hertz * i / rate);
    }
    for (int c = 0; c < channels; ++c, at += bytes_per_sample) {
      switch (format.sampleFormat()) {
        case QAudioFormat::UInt8:
          *reinterpret_cast<uint8_t*>(at) = static_cast<uint8_t>(128 + v * 127);
          break;
        case QAudioFormat::Int16:
          *reinterpret_cast<int16_t*>(at) = static_cast<int16_t>(v * 32767);
          break;
        case QAudioFormat::Int32:
          *reinterpret_cast<int32_t*>(at) = static_cast<int32_t>(v * 2147483647.0);
          break;
        case QAudioFormat::Float:
          *reinterpret_cast<float*>(at) = static_cast<float>(v);
          break;
        default:
          break;
      }
    }
  }
  return out;
}

}  // namespace

QWidget* QtMessages::Owner() const {
  // Over the dialog that is up, so that the box is neither placed away from
  // it nor stacked under it.
  if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) return modal;
  return parent_;
}

void QtMessages::Show(const std::string& text) {
  RunMessageBox(QString::fromUtf8(Application::kTitle), DisplayText(text), MessageButtons::Ok,
                MessageIcon::None, Owner());
}

MessageResult QtMessages::Box(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) {
  return RunMessageBox(DisplayText(caption), DisplayText(text), buttons, icon, Owner());
}

void QtMessages::ShowError(const std::string& text) {
  RunMessageBox(QString::fromUtf8(Application::kTitle), DisplayText(text), MessageButtons::Ok,
                MessageIcon::Stop, Owner());
}

void QtEventPump::PumpOnce() {
  QCoreApplication::processEvents();
}

void QtEventPump::Sleep(int milliseconds) {
  if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

ToneSound::ToneSound(QObject* parent) : QObject(parent) {}

ToneSound::~ToneSound() {
  if (sink_) sink_->stop();
}

bool ToneSound::Beep(uint32_t type) {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) {
    QApplication::beep();
    return true;
  }
  if (!sink_ || sink_->format().sampleRate() <= 0) {
    QAudioFormat format = device.preferredFormat();
    QAudioFormat mono = format;
    mono.setChannelCount(1);
    if (device.isFormatSupported(mono)) format = mono;
    delete sink_;
    sink_ = new QAudioSink(device, format, this);
  }
  const QByteArray tone = Samples(ToneFor(type), sink_->format());
  if (sink_->state() == QAudio::ActiveState) {
    // The source reads on from the same array: the tone follows the one playing.
    samples_.append(tone);
    return sink_->error() == QAudio::NoError;
  }
  sink_->stop();
  source_.close();
  samples_ = tone;
  source_.setBuffer(&samples_);
  source_.open(QIODevice::ReadOnly);
  sink_->start(&source_);
  return sink_->error() == QAudio::NoError;
}

}  // namespace quenlet
