#include "ui/app/about_box.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "app/about_firmware.h"
#include "app/application.h"
#include "programmer/hardware_info.h"
#include "ui/app/skin_pictures.h"
#include "ui/controls/dialog_look.h"
#include "ui/controls/display_text.h"
#include "ui/controls/frame_band.h"
#include "ui/controls/look.h"
#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"

namespace quenlet {
namespace {

// The program's icon: the chip glyph on an accent tile.
class ProgramIconButton : public QAbstractButton {
 public:
  explicit ProgramIconButton(QWidget* parent) : QAbstractButton(parent) {
    setObjectName("ProgramIcon");
    setAccessibleName(QStringLiteral("Program icon"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(look::kAccentLight);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    const qreal inset = width() * 0.2;
    DrawChipGlyph(p, QRectF(rect()).adjusted(inset, inset, -inset, -inset), look::kAccent);
  }
};

QLabel* Text(const QString& text, const char* name, QWidget* parent, QRect at,
             const QFont& font = look::LabelFont(), const QColor& colour = look::kText) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  label->setGeometry(at);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(Application& app, QWidget* main_window)
    : QDialog(main_window, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName("AboutBox");
  setWindowTitle(QStringLiteral("About"));
  ApplyDialogLook(this);
  setFixedSize(kSize + QSize(0, kBandDrop));

  // The box's own layout lies below its title band.
  panel1_ = new QWidget(this);
  panel1_->setObjectName("Panel1");
  panel1_->setGeometry(1, 1 + kBandDrop, kSize.width() - 2, kSize.height() - 42);
  icon_ = new ProgramIconButton(panel1_);
  icon_->setGeometry(16, 16, 56, 56);
  connect(icon_, &QAbstractButton::clicked, this, &TAboutBox::ProgramIconClick);
  tt_ = Text(QStringLiteral("VARNEK - KZ"), "tt", panel1_, QRect(88, 18, 190, 16),
             look::CaptionFont(), look::kMuted);
  label3_ = Text(QStringLiteral("Quenlet"), "Label3", panel1_, QRect(88, 36, 190, 32),
                 look::Sans(24, true));

  version_labels_ = {
      Text(QStringLiteral("Software Version  :"), "Label1", panel1_, QRect(16, 82, 140, 20)),
      Text(QString::fromUtf8(kSoftwareVersion), "Label9", panel1_, QRect(160, 82, 118, 20),
           look::Mono(13)),
      Text(QStringLiteral("Firmware Version :"), "Label8", panel1_, QRect(16, 102, 140, 20)),
  };
  h_sn_ = Text(QString::fromUtf8(HardwareInfoLabels::kNotAvailable), "H_sn", panel1_,
               QRect(160, 102, 118, 20), look::Mono(13));
  h_sn_->setAccessibleDescription("Firmware version");
  version_labels_.push_back(h_sn_);

  ok_ = MakeDialogButton("OKButton", "OK", panel1_);
  ok_->setGeometry(kSize.width() - 2 - 16 - 88, 128, 88, 28);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);

  panel3_ = new FrameBand("Image2", QStringLiteral("USB device programmer"), look::CaptionFont(),
                          look::kFrameMuted, this);
  panel3_->setGeometry(1, kBandDrop + kSize.height() - 41, kSize.width() - 2, 40);
  FrameWindow(this, WindowTitle::Band);

  // The unit is asked as the box is made, before it shows.
  h_sn_->setText(DisplayText(AboutBoxFirmware(app)));

  PlaceWindow(*this, WindowPlacement::AtOffset(main_window, kOffset));
}

void TAboutBox::ProgramIconClick() {
  panel1_->setFixedHeight(kShortPanelHeight);
  panel3_->hide();
  setFixedSize(kSize.width(), kBandDrop + kShortHeight);
  tt_->hide();
  for (QLabel* label : version_labels_) label->hide();
  label3_->show();
}

void TAboutBox::OKButtonClick() {
  accept();
}

}  // namespace quenlet
