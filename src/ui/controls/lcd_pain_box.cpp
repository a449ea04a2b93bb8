#include "ui/controls/lcd_pain_box.h"

#include <QPainter>
#include <algorithm>

#include "ui/controls/look.h"

namespace quenlet {
namespace {

// A component as a byte: reduced modulo 256, negative values included.
int Component(int value) {
  return ((value % 256) + 256) % 256;
}

}  // namespace

TLcdPainBox::TLcdPainBox(QWidget* parent) : QWidget(parent) {
  setObjectName("LcdPainBox");
  setAccessibleName("LCD");
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool TLcdPainBox::SetText(std::span<const uint8_t> block) {
  const size_t count = std::min<size_t>(block.size(), kCursorIndex + 1);
  std::copy_n(block.begin(), count, text_.begin());
  DrawAll();
  return true;
}

void TLcdPainBox::SetDataPictur(const QImage& picture) {
  glyphs_ = picture.convertToFormat(QImage::Format_RGB32);
}

void TLcdPainBox::Render() {
  red_ = Component(red_);
  green_ = Component(green_);
  blue_ = Component(blue_);
  if (frame_.size() != size()) frame_ = QImage(size(), QImage::Format_RGB32);

  QPainter painter(&frame_);
  painter.fillRect(frame_.rect(), QColor(red_, green_, blue_));
  painter.setPen(look::kControlOutline);
  painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
  if (glyphs_.width() <= 0 || glyphs_.height() <= 0) return;

  const int cursor = text_[kCursorIndex];
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const int index = r * kColumns + c;
      const uint8_t code = text_[size_t(index)];
      const QRect source((code & 0xF) * kCellWidth, (code >> 4) * kCellHeight, kCellWidth,
                         kCellHeight);
      const QPoint target((kGapX + kCellWidth) * c + kGapX, (kGapY + kCellHeight) * r + kGapY);
      painter.setCompositionMode(index == cursor ? QPainter::RasterOp_SourceXorDestination
                                                 : QPainter::CompositionMode_Source);
      painter.drawImage(target, glyphs_, source);
    }
  }
}

void TLcdPainBox::DrawAll() {
  Render();
  update();
}

void TLcdPainBox::paintEvent(QPaintEvent*) {
  Render();
  QPainter(this).drawImage(0, 0, frame_);
}

}  // namespace quenlet
