#pragma once
// Where the program's windows open: wholly inside the work area (the screen
// without its panels and docks) of the screen the main window is on.
//
// A window that opens at an offset from the main window keeps that offset
// when it fits inside the main window there; otherwise it is centred over
// the main window. Windows of their own (the main window, the splash, the
// progress window) are centred on the work area. Either way the frame is
// then moved inside the work area; a frame larger than the work area keeps
// its top-left corner (and the title on it) on the screen.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class QWidget;

namespace quenlet {

struct WindowPlacement {
  // The main window the window opens over; null for the main window itself.
  const QWidget* main_window = nullptr;
  // From the main window's top-left corner to the window's.
  std::optional<QPoint> offset;
  // Centred on the work area, not over the main window.
  bool on_screen = false;

  static WindowPlacement AtOffset(const QWidget* main_window, QPoint offset) {
    return {main_window, offset, false};
  }
  static WindowPlacement OverMainWindow(const QWidget* main_window) {
    return {main_window, std::nullopt, false};
  }
  // On the main window's screen; without one, the primary screen (centred
  // on a desktop spread over several screens, a window would sit on their
  // seam).
  static WindowPlacement OnScreen(const QWidget* main_window = nullptr) {
    return {main_window, std::nullopt, true};
  }
};

// The rule over rectangles: where a frame of `frame` size goes. main_frame
// is the main window's frame (empty when there is none); halves are rounded
// toward zero.
QRect PlacedFrame(QSize frame, const QRect& work_area, const QRect& main_frame,
                  const WindowPlacement& how);

// The work area `how` places in.
QRect PlacementWorkArea(const WindowPlacement& how);

// Places `window` (a top-level window, before it shows) by the rule. A
// window not yet given a size gets the one it would take on showing. A
// window manager's frame is known only once the window shows: until then
// the frame of a window seen earlier stands in, and the window is placed
// again when its own frame comes.
void PlaceWindow(QWidget& window, const WindowPlacement& how);

}  // namespace quenlet
