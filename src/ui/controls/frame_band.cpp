#include "ui/controls/frame_band.h"

#include <QLinearGradient>
#include <QPainter>

#include "ui/controls/look.h"

namespace quenlet {

void PaintFrame(QPainter& painter, const QRectF& area) {
  QLinearGradient frame(area.topLeft(), area.bottomLeft());
  frame.setColorAt(0, look::kFrameTop);
  frame.setColorAt(1, look::kFrameBottom);
  painter.fillRect(area, frame);
}

FrameBand::FrameBand(const char* name, const QString& caption, const QFont& font,
                     const QColor& colour, QWidget* parent)
    : QWidget(parent), caption_(caption), font_(font), colour_(colour) {
  setObjectName(name);
}

void FrameBand::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintFrame(p, rect());
  p.setPen(colour_);
  p.setFont(font_);
  p.drawText(rect().adjusted(16, 0, -16, 0), Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

}  // namespace quenlet
