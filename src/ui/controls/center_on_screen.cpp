#include "ui/controls/center_on_screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quenlet {

void CenterOnPrimaryScreen(QWidget* window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  // move() places the frame, so the frame is what is centred.
  const QSize size = window->frameGeometry().size();
  window->move(free.left() + (free.width() - size.width()) / 2,
               free.top() + (free.height() - size.height()) / 2);
}

}  // namespace quenlet
