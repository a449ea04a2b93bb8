#include "ui/app/head_form.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/app/skin_pictures.h"
#include "ui/controls/frame_band.h"
#include "ui/controls/look.h"
#include "ui/controls/scroll_text.h"
#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"

namespace quenlet {
namespace {

// The banner's picture: the frame with the program's name over the top;
// the text scrolls in the panel below it.
class BannerPicture : public QWidget {
 public:
  explicit BannerPicture(QWidget* parent) : QWidget(parent) { setObjectName("Image1"); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    PaintFrame(p, rect());
    p.setPen(look::kFrameEdge);
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    DrawChipGlyph(p, QRectF(20, 14, 36, 36), look::kAccentLight);
    p.setPen(look::kFrameText);
    p.setFont(look::Sans(22, true));
    p.drawText(QRect(64, 12, width() - 80, 42), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Quenlet"));
    p.setPen(look::kFrameMuted);
    p.setFont(look::CaptionFont());
    p.drawText(QRect(0, height() - 22, width() - 16, 16), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Click to close"));
  }
  void mousePressEvent(QMouseEvent* event) override { event->ignore(); }
};

const QStringList& ProfileLines() {
  static const QStringList lines = {
      QStringLiteral("Quenlet"),
      QStringLiteral("USB device programmer"),
      QString(),
      QStringLiteral("Memory devices, microcontrollers"),
      QStringLiteral("and GAL/PAL logic"),
      QStringLiteral("in one 48-pin socket."),
      QString(),
      QStringLiteral("Read, erase, blank check,"),
      QStringLiteral("program, verify and protect,"),
      QStringLiteral("one step at a time or as a run"),
      QStringLiteral("with a pass counter."),
      QString(),
      QStringLiteral("Intel HEX, Motorola S-record,"),
      QStringLiteral("Tektronix, binary, POF,"),
      QStringLiteral("MS-DOS and JEDEC files."),
  };
  return lines;
}

}  // namespace

THeadForm::THeadForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("HeadForm");
  setWindowTitle(QStringLiteral("Quenlet"));
  setFixedSize(kSize);
  image_ = new BannerPicture(this);
  image_->setGeometry(rect());

  scroll_ = new TScrollText(this);
  scroll_->setObjectName("ScrollText1");
  scroll_->setGeometry(20, 64, kSize.width() - 40, kSize.height() - 64 - 30);
  scroll_->setAccessibleDescription("Program profile");
  scroll_->SetItems(ProfileLines());
  scroll_->SetSteps(kSteps);
  scroll_->SetSpeed(kSpeed);
  scroll_->SetColor(Qt::white);
  scroll_->SetFontColor(look::kText);
  scroll_->SetFont(look::Sans(14));
  scroll_->SetContinuous(true);
  scroll_->SetAlignment(TAlignment::taCenter);
  scroll_->SetDirection(TScrollDirection::sdBottomToTop);
  // The text takes no click of its own: a click on it closes the banner too.
  scroll_->setAttribute(Qt::WA_TransparentForMouseEvents);
  connect(scroll_, &TScrollText::OnEnd, this, &THeadForm::ScrollText1End);

  // The layout's timer, which does nothing when it fires.
  timer_.setInterval(kTimerInterval);
  timer_.start();

  FrameWindow(this);
  PlaceWindow(*this, WindowPlacement::OnScreen());
}

void THeadForm::FormClick() {
  // Only hides: the banner is destroyed by whoever showed it, after exec().
  reject();
}

void THeadForm::ScrollText1End() {
  FormClick();
}

void THeadForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FormClick();
}

void RunHeand(int32_t timer_flag) {
  THeadForm banner;
  if (timer_flag == 0) banner.Timer1().stop();
  banner.exec();
}

}  // namespace quenlet
