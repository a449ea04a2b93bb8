#include "ui/controls/message_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "ui/controls/look.h"

namespace quenlet {
namespace {

// Every shape on a 32-pixel square; the marks in white strokes with round
// ends, as the step glyphs are drawn.
constexpr qreal kMark = 3.2;

QPen MarkPen() {
  QPen pen(look::kOnAccent, kMark);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void Disc(QPainter& p, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(QRectF(1, 1, 30, 30));
}

void Dot(QPainter& p, QPointF at, qreal radius) {
  p.setPen(Qt::NoPen);
  p.setBrush(look::kOnAccent);
  p.drawEllipse(at, radius, radius);
}

void Information(QPainter& p) {
  Disc(p, look::kAccent);
  Dot(p, {16, 9.5}, 2.1);
  p.setPen(MarkPen());
  p.drawLine(QPointF(16, 15), QPointF(16, 23.5));
}

void Question(QPainter& p) {
  Disc(p, look::kAccent);
  QPainterPath mark;
  mark.moveTo(11.5, 12.5);
  mark.arcTo(QRectF(11.5, 8, 9, 9), 180, -240);  // over the top to the lower right
  mark.lineTo(16, 18.5);
  mark.lineTo(16, 19.5);
  p.setPen(MarkPen());
  p.setBrush(Qt::NoBrush);
  p.drawPath(mark);
  Dot(p, {16, 24.2}, 1.9);
}

void Warning(QPainter& p) {
  // A triangle with rounded corners: its outline stroked wide in its own
  // colour.
  QPainterPath triangle;
  triangle.moveTo(16, 3.5);
  triangle.lineTo(29.5, 27.5);
  triangle.lineTo(2.5, 27.5);
  triangle.closeSubpath();
  QPen rim(look::kWorking, 3);
  rim.setJoinStyle(Qt::RoundJoin);
  p.setPen(rim);
  p.setBrush(look::kWorking);
  p.drawPath(triangle);
  p.setPen(MarkPen());
  p.drawLine(QPointF(16, 11.5), QPointF(16, 19));
  Dot(p, {16, 24}, 1.8);
}

void Error(QPainter& p) {
  Disc(p, look::kFail);
  p.setPen(MarkPen());
  p.drawLine(QPointF(11, 11), QPointF(21, 21));
  p.drawLine(QPointF(21, 11), QPointF(11, 21));
}

}  // namespace

QPixmap MessageIconPixmap(MessageIcon icon, qreal pixel_ratio) {
  if (icon == MessageIcon::None) return {};
  const int side = static_cast<int>(std::ceil(kMessageIconSize * pixel_ratio));
  QPixmap pixmap(side, side);
  pixmap.setDevicePixelRatio(pixel_ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (icon) {
    case MessageIcon::Information:
      Information(p);
      break;
    case MessageIcon::Question:
      Question(p);
      break;
    case MessageIcon::Warning:
      Warning(p);
      break;
    case MessageIcon::Stop:
      Error(p);
      break;
    case MessageIcon::None:
      break;
  }
  return pixmap;
}

}  // namespace quenlet
