#include "controls/center_on_screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quenlet {

void CenterOnPrimaryScreen(QWidget* window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  window->move(free.left() + (free.width() - window->width()) / 2,
               free.top() + (free.height() - window->height()) / 2);
}

}  // namespace quenlet
