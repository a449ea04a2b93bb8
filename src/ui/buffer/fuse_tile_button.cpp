#include "ui/buffer/fuse_tile_button.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/controls/look.h"

namespace quenlet {

FuseTileButton::FuseTileButton(Glyph glyph, Shape shape, const QString& label, QWidget* parent)
    : QAbstractButton(parent), glyph_(glyph), shape_(shape) {
  setText(label);
  setAccessibleName(label.trimmed());
  setAttribute(Qt::WA_Hover);
  setCursor(Qt::PointingHandCursor);
  setFixedSize(sizeHint());
}

QSize FuseTileButton::sizeHint() const {
  return shape_ == Shape::Tile ? QSize(56, 44) : QSize(72, 28);
}

void FuseTileButton::DrawGlyph(QPainter& p, const QRectF& box, const QColor& colour) const {
  // Glyphs are laid out on a 20 x 20 square.
  p.save();
  p.translate(box.topLeft());
  p.scale(box.width() / 20.0, box.height() / 20.0);
  p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath path;
  switch (glyph_) {
    case Glyph::Sum:
      path.moveTo(15, 3);
      path.lineTo(5, 3);
      path.lineTo(11, 10);
      path.lineTo(5, 17);
      path.lineTo(15, 17);
      p.drawPath(path);
      break;
    case Glyph::Fill:
      p.setBrush(colour);
      for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) p.drawRoundedRect(QRectF(3 + c * 8, 3 + r * 8, 6, 6), 1, 1);
      }
      break;
    case Glyph::Ok:
      path.moveTo(4, 10);
      path.lineTo(8, 14);
      path.lineTo(16, 5);
      p.drawPath(path);
      break;
    case Glyph::Jump:
      path.moveTo(3, 10);
      path.lineTo(14, 10);
      path.moveTo(10, 6);
      path.lineTo(14, 10);
      path.lineTo(10, 14);
      path.moveTo(17, 4);
      path.lineTo(17, 16);
      p.drawPath(path);
      break;
  }
  p.restore();
}

void FuseTileButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const bool hot = isEnabled() && (underMouse() || hasFocus());
  QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (isDown()) face.translate(0, 1);
  p.setPen(QPen(hasFocus() ? look::kAccent : look::kSurfaceBorder, 1.0));
  p.setBrush(isDown() ? look::kAccentPressed : hot ? look::kAccentLight : look::kTile);
  p.drawRoundedRect(face, 6, 6);

  const QColor glyph = !isEnabled()      ? look::kDisabled
                       : hot || isDown() ? look::kAccent
                                         : look::kMuted;
  p.setFont(look::CaptionFont());
  p.setPen(isEnabled() ? look::kText : look::kDisabled);
  if (shape_ == Shape::Tile) {
    DrawGlyph(p, QRectF(face.center().x() - 10, face.top() + 4, 20, 20), glyph);
    p.drawText(QRectF(face.left(), face.top() + 26, face.width(), 14), Qt::AlignCenter, text());
  } else {
    DrawGlyph(p, QRectF(face.left() + 8, face.center().y() - 8, 16, 16), glyph);
    p.setFont(look::LabelFont());
    p.drawText(QRectF(face.left() + 30, face.top(), face.width() - 34, face.height()),
               Qt::AlignVCenter | Qt::AlignLeft, text());
  }
}

}  // namespace quenlet
