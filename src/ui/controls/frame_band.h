#pragma once
// The program's dark frame (the main window's background) on a strip of a
// smaller window: the title of the project window, the foot of the about
// box, the banner's picture.
#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class QPainter;

namespace quenlet {

// The frame's vertical gradient over `area`.
void PaintFrame(QPainter& painter, const QRectF& area);

// A strip of frame with one line of text, 16 pixels in from the left.
class FrameBand : public QWidget {
 public:
  FrameBand(const char* name, const QString& caption, const QFont& font, const QColor& colour,
            QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  QFont font_;
  QColor colour_;
};

}  // namespace quenlet
