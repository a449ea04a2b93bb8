#pragma once
// The start-up splash: the picture of Temp1.cue, centred, above every
// window, taking no input. The program shows it while it creates its
// windows and removes it after; [System] Short of History_1.ini closes it
// earlier, after that many seconds (0: only the program removes it).
#include <QTimer>
#include <QWidget>
#include <string>

class QLabel;

namespace quenlet {

class Messages;

class TLogo : public QWidget {
  Q_OBJECT

 public:
  static constexpr QSize kSize{556, 390};
  static constexpr int kLayoutInterval = 4000;  // ms, until Short is read
  static constexpr int kMaxShortSeconds = 3600;
  static constexpr const char* kPictureFile = "Temp1.cue";
  static constexpr const char* kNoPictureText = "No found 1.bmp";

  // FormCreate: the picture from `program_dir`'s Temp1.cue and the time from
  // its History_1.ini. Without a picture "No found 1.bmp" is shown (before
  // the splash itself, which would cover the message).
  TLogo(const std::string& program_dir, Messages& messages, QWidget* parent = nullptr);

  bool HasPicture() const { return has_picture_; }
  const QTimer& Logo_Timer() const { return timer_; }
  QLabel* Logo_phto() const { return picture_; }

 public slots:
  // Closes the splash.
  void Logo_TimerTimer();

 private:
  QTimer timer_;
  QLabel* picture_ = nullptr;
  bool has_picture_ = false;
};

}  // namespace quenlet
