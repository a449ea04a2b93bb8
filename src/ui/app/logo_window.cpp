#include "ui/app/logo_window.h"
#include "ui/app/logo_image.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <algorithm>

#include "app/logo_file.h"
#include "platform/ini_file.h"
#include "platform/user_interfaces.h"
#include "ui/controls/look.h"
#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"

namespace quenlet {

TLogo::TLogo(const std::string& program_dir, Messages& messages, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("Logo");
  setFixedSize(kSize);
  // The splash takes no input: clicks go to nothing.
  setEnabled(false);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, look::kFrameBottom);
  setPalette(palette);
  setAutoFillBackground(true);

  picture_ = new QLabel(this);
  picture_->setObjectName("Logo_phto");
  picture_->setGeometry(rect());
  picture_->setScaledContents(true);
  picture_->setAccessibleDescription("Start-up picture");

  timer_.setInterval(kLayoutInterval);
  connect(&timer_, &QTimer::timeout, this, &TLogo::Logo_TimerTimer);
  timer_.start();

  const std::optional<std::string> bitmap = RestoreLogoBitmap(program_dir + kPictureFile);
  const int seconds =
      std::clamp(IniFile(program_dir + "History_1.ini").ReadInteger("System", "Short", 0), 0,
                 kMaxShortSeconds);
  const QImage image = bitmap ? DecodeLogoBitmap(*bitmap) : QImage();
  has_picture_ = !image.isNull();
  if (has_picture_) {
    picture_->setPixmap(QPixmap::fromImage(image));
    if (seconds == 0) {
      timer_.stop();
    } else {
      timer_.setInterval(seconds * 1000);
    }
  } else {
    messages.Show(kNoPictureText);
  }

  FrameWindow(this);
  PlaceWindow(*this, WindowPlacement::OnScreen());
}

void TLogo::Logo_TimerTimer() {
  timer_.stop();
  close();
}

}  // namespace quenlet
