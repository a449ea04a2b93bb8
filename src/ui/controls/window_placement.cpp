#include "ui/controls/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace quenlet {
namespace {

constexpr const char* kWatchName = "PlacementFrameWatch";

// The frame the window manager gave the last framed window it showed.
QMargins& SeenDecoration() {
  static QMargins decoration;
  return decoration;
}

bool Frameless(const QWidget& window) {
  return window.windowFlags().testFlag(Qt::FramelessWindowHint);
}

// The window's own frame once it has one, else the last one seen.
QMargins FrameOf(const QWidget& window) {
  if (Frameless(window)) return {};
  if (const QWindow* handle = window.windowHandle()) {
    const QMargins own = handle->frameMargins();
    if (!own.isNull()) return own;
  }
  return SeenDecoration();
}

int Inside(int start, int length, int area_start, int area_length) {
  return std::max(area_start, std::min(start, area_start + area_length - length));
}

void Move(QWidget& window, const WindowPlacement& how, QMargins frame) {
  const QRect work = PlacementWorkArea(how);
  const QRect main = how.main_window ? how.main_window->frameGeometry() : QRect();
  window.move(PlacedFrame(window.size().grownBy(frame), work, main, how).topLeft());
}

// Places a framed window again once the window manager has framed it (it
// does so only after the window shows), unless the stand-in was right.
class FrameWatch : public QObject {
 public:
  FrameWatch(QWidget& window, const WindowPlacement& how, QMargins guessed)
      : QObject(&window),
        window_(window),
        main_window_(how.main_window),
        how_(how),
        guessed_(guessed) {
    setObjectName(kWatchName);
    window.installEventFilter(this);
  }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Hide) {
      Done();
    } else if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
      const QWindow* handle = window_.windowHandle();
      const QMargins frame = handle ? handle->frameMargins() : QMargins();
      if (!frame.isNull()) {
        SeenDecoration() = frame;
        if (frame != guessed_ && (!how_.main_window || main_window_)) Move(window_, how_, frame);
        Done();
      }
    }
    return false;
  }

 private:
  void Done() {
    window_.removeEventFilter(this);
    deleteLater();
  }

  QWidget& window_;
  QPointer<const QWidget> main_window_;
  WindowPlacement how_;
  QMargins guessed_;
};

}  // namespace

QRect PlacedFrame(QSize frame, const QRect& work_area, const QRect& main_frame,
                  const WindowPlacement& how) {
  const bool over_main = !how.on_screen && !main_frame.isEmpty();
  const QRect around = over_main ? main_frame : work_area;
  QRect placed(QPoint(around.x() + (around.width() - frame.width()) / 2,
                      around.y() + (around.height() - frame.height()) / 2),
               frame);
  if (over_main && how.offset) {
    const QRect at(main_frame.topLeft() + *how.offset, frame);
    if (main_frame.contains(at)) placed = at;
  }
  if (work_area.isEmpty()) return placed;
  placed.moveTo(Inside(placed.x(), frame.width(), work_area.x(), work_area.width()),
                Inside(placed.y(), frame.height(), work_area.y(), work_area.height()));
  return placed;
}

QRect PlacementWorkArea(const WindowPlacement& how) {
  const QScreen* screen = nullptr;
  if (how.main_window) {
    screen = QGuiApplication::screenAt(how.main_window->frameGeometry().center());
    if (!screen) screen = how.main_window->screen();
  }
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

void PlaceWindow(QWidget& window, const WindowPlacement& how) {
  if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
  const QMargins frame = FrameOf(window);
  Move(window, how, frame);
  delete window.findChild<QObject*>(kWatchName, Qt::FindDirectChildrenOnly);
  const QWindow* handle = window.windowHandle();
  const bool framed_already = handle && !handle->frameMargins().isNull();
  if (!Frameless(window) && !framed_already) new FrameWatch(window, how, frame);
}

}  // namespace quenlet
