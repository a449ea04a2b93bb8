#include "ui/controls/window_frame.h"

#include <QEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "ui/controls/frame_band.h"
#include "ui/controls/look.h"

namespace quenlet {
namespace {

// The band at the top: the frame with the window's title, 16 px in.
class TitleBand : public QWidget {
 public:
  explicit TitleBand(QWidget* window) : QWidget(window) {
    setObjectName("TitleBand");
    setCursor(Qt::SizeAllCursor);
    setFont(look::TitleFont());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    PaintFrame(p, rect());
    p.setPen(look::kFrameText);
    p.drawText(rect().adjusted(16, 0, -16, 0), Qt::AlignLeft | Qt::AlignVCenter,
               window()->windowTitle());
  }
  // The window system moves the window where it can; else the window
  // follows the pointer itself.
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    QWindow* handle = window()->windowHandle();
    grab_ = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
    by_hand_ = !(handle && handle->startSystemMove());
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (by_hand_ && (event->buttons() & Qt::LeftButton)) {
      window()->move(event->globalPosition().toPoint() - grab_);
    }
  }
  void mouseReleaseEvent(QMouseEvent*) override { by_hand_ = false; }

 private:
  QPoint grab_;
  bool by_hand_ = false;
};

// The edge: a child over every other child, taking no input, that keeps to
// the window's size.
class WindowEdge : public QWidget {
 public:
  WindowEdge(QWidget* window, QWidget* band) : QWidget(window), band_(band) {
    setObjectName("WindowEdge");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    window->installEventFilter(this);
    Follow(window);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = static_cast<QWidget*>(watched);
    switch (event->type()) {
      case QEvent::Resize:
      case QEvent::Show:
        Follow(window);
        break;
      case QEvent::ChildAdded:
        raise();  // children added later would cover the edge
        break;
      case QEvent::WindowTitleChange:
        if (band_) band_->update();
        break;
      default:
        break;
    }
    return false;
  }
  // Four strips rather than a stroked rectangle, which at 2x would leave
  // the outermost device pixels on the right and the bottom bare.
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const int w = width(), h = height();
    for (const QRect strip :
         {QRect(0, 0, w, 1), QRect(0, h - 1, w, 1), QRect(0, 0, 1, h), QRect(w - 1, 0, 1, h)}) {
      p.fillRect(strip, look::kFrameBottom);
    }
  }

 private:
  void Follow(QWidget* window) {
    setGeometry(window->rect());
    if (band_) band_->setGeometry(0, 0, window->width(), kTitleBandHeight);
    raise();
  }

  QPointer<QWidget> band_;
};

}  // namespace

QWidget* FrameWindow(QWidget* window, WindowTitle title) {
  QWidget* band = nullptr;
  if (title == WindowTitle::Band) {
    band = new TitleBand(window);
    if (QLayout* layout = window->layout()) {
      QMargins margins = layout->contentsMargins();
      margins.setTop(margins.top() + kTitleBandHeight);
      layout->setContentsMargins(margins);
    }
  }
  new WindowEdge(window, band);
  return band;
}

}  // namespace quenlet
