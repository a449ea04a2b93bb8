#include "buffer/ui/fuse_tile_button.h"

#include <QPainter>
#include <QPainterPath>

namespace quenlet {
namespace {

const QColor kMuted(0x5B6775);
const QColor kText(0x1F2933);
const QColor kAccent(0x1F6FD1);
const QColor kAccentLight(0xDCEBFA);
const QColor kPressed(0xC3DAF5);
const QColor kBorder(0xC9D1DA);
const QColor kDisabled(0xAEB7C1);

}  // namespace

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
  p.setPen(QPen(hasFocus() ? kAccent : kBorder, 1.0));
  p.setBrush(isDown() ? kPressed : hot ? kAccentLight : QColor(0xFFFFFF));
  p.drawRoundedRect(face, 6, 6);

  const QColor glyph = !isEnabled() ? kDisabled : hot || isDown() ? kAccent : kMuted;
  QFont font = this->font();
  font.setPixelSize(11);
  p.setFont(font);
  p.setPen(isEnabled() ? kText : kDisabled);
  if (shape_ == Shape::Tile) {
    DrawGlyph(p, QRectF(face.center().x() - 10, face.top() + 4, 20, 20), glyph);
    p.drawText(QRectF(face.left(), face.top() + 26, face.width(), 14), Qt::AlignCenter, text());
  } else {
    DrawGlyph(p, QRectF(face.left() + 8, face.center().y() - 8, 16, 16), glyph);
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(QRectF(face.left() + 30, face.top(), face.width() - 34, face.height()),
               Qt::AlignVCenter | Qt::AlignLeft, text());
  }
}

}  // namespace quenlet
