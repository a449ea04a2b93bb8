#pragma once
// The Qt side of what the operator sees and hears: message boxes over the
// main window, the event pump, and the pass and fail tones.
#include <QBuffer>
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/user_interfaces.h"

class QAudioSink;

namespace quenlet {

// Modal message boxes in the program's look (MessageBoxWindow), over the
// dialog that is up, else over the main window once it exists. Plain boxes
// carry the program's title ("Quenlet") as caption; the error display is a
// box with the stop icon.
class QtMessages : public Messages {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Show(const std::string& text) override;
  MessageResult Box(const std::string& text, const std::string& caption, MessageButtons buttons,
                    MessageIcon icon) override;
  void ShowError(const std::string& text) override;

 private:
  QWidget* Owner() const;

  QPointer<QWidget> parent_;
};

// Lets the GUI thread's queue run once; sleeps on it.
class QtEventPump : public EventPump {
 public:
  void PumpOnce() override;
  void Sleep(int milliseconds) override;
};

// Pass and fail sound different: generated tones through the audio output
// (the standard beep a short high tone, the stop beep a longer low one).
// Tones asked for while one plays follow it. A machine without any audio
// device rings the system bell instead and counts that as success; false
// only when the audio system refuses the sound.
class ToneSound : public QObject, public Sound {
  Q_OBJECT

 public:
  explicit ToneSound(QObject* parent = nullptr);
  ~ToneSound() override;
  bool Beep(uint32_t type) override;

 private:
  QAudioSink* sink_ = nullptr;
  QByteArray samples_;
  QBuffer source_;
};

}  // namespace quenlet
