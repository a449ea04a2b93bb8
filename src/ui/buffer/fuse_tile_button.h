#pragma once
// The picture buttons of the fuse-map editor, drawn at run time: a line
// glyph and a label on the working surface, tinted on hover and focus and
// one pixel lower while pressed. A real button, so screen readers find it
// by its label and can press it.
#include <QAbstractButton>

namespace quenlet {

class FuseTileButton : public QAbstractButton {
  // Its own class for assistive technology: the main window's input gate
  // answers its press (ui/controls/input_gate.h).
  Q_OBJECT

 public:
  enum class Glyph { Sum, Fill, Ok, Jump };
  enum class Shape {
    Tile,  // 56 x 44: the glyph above the label
    Bar,   // 72 x 28: the glyph left of the label
  };

  FuseTileButton(Glyph glyph, Shape shape, const QString& label, QWidget* parent = nullptr);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawGlyph(QPainter& p, const QRectF& box, const QColor& colour) const;

  Glyph glyph_;
  Shape shape_;
};

}  // namespace quenlet
