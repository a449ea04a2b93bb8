#include "ui/controls/buffer_map.h"

#include <QPainter>

#include "ui/controls/look.h"

namespace quenlet {
namespace {

bool InGrid(int index) {
  return index >= 0 && index < TBufferMap::kMaxCells;
}

}  // namespace

TBufferMap::TBufferMap(QWidget* parent) : QWidget(parent) {
  setObjectName("BufferMap");
  setAccessibleName("Buffer map");
  setFixedSize(40, 40);
}

int TBufferMap::ReadArrValue(int row, int column) const {
  return InGrid(row) && InGrid(column) ? cells_[size_t(row)][size_t(column)] : 0;
}

void TBufferMap::SetArrValue(int row, int column, int value) {
  if (!InGrid(row) || !InGrid(column) || value < 0 || value > kMaxValue) return;
  cells_[size_t(row)][size_t(column)] = value;
  // The size does not change; the cell is shown at the next paint.
  update();
}

void TBufferMap::SetDataPictur(const QImage& picture) {
  data_ = picture;
  DrawAll();
}

void TBufferMap::SetBitLowPictur(const QImage& picture) {
  bit_low_ = picture;
  DrawAll();
}

void TBufferMap::SetBitHeigh(const QImage& picture) {
  bit_high_ = picture;
  DrawAll();
}

void TBufferMap::SetWColls(int n) {
  if (!InGrid(n)) return;
  columns_ = n;
  DrawAll();
}

void TBufferMap::SetHColls(int n) {
  if (!InGrid(n)) return;
  rows_ = n;
  DrawAll();
}

void TBufferMap::DrawAll() {
  setFixedSize(data_.width() * columns_ + kFrame, data_.height() * rows_ + kFrame);
  update();
}

const QImage* TBufferMap::PictureFor(int value) const {
  switch (value) {
    case 0:
      return &bit_low_;
    case 1:
      return &bit_high_;
    case 2:
      return &data_;
    default:
      return nullptr;  // 3 leaves the silver background
  }
}

void TBufferMap::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int w = width();
  const int h = height();
  painter.fillRect(rect(), look::kControlFace);
  painter.setPen(look::kControlOutline);
  painter.drawRect(QRect(0, 0, w - 1, h - 1));
  // Sunken bevel: grey top and left, white right and bottom.
  painter.setPen(look::kControlShadow);
  painter.drawLine(w - 2, 1, 1, 1);
  painter.drawLine(1, 1, 1, h - 2);
  painter.setPen(look::kControlHighlight);
  painter.drawLine(w - 2, 1, w - 2, h - 2);
  painter.drawLine(w - 2, h - 2, 1, h - 2);

  // Every picture is cut from the rectangle of Picture_Data's size.
  const QRect source(0, 0, data_.width(), data_.height());
  for (int r = 0; r < rows_; ++r) {
    for (int c = 0; c < columns_; ++c) {
      const QImage* picture = PictureFor(cells_[size_t(r)][size_t(c)]);
      if (!picture || picture->isNull()) continue;
      const int pw = picture->width();
      const int ph = picture->height();
      painter.drawImage(QRect(c * pw + 3, r * ph + 3, pw, ph), *picture, source);
    }
  }
}

}  // namespace quenlet
