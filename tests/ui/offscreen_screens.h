#pragma once
// The screens of the window tests (offscreen_screens.json, the offscreen
// platform's configuration): the primary screen of 800 x 600 at 1x, where
// every window opens unless a test moves it, and beside it a small screen of
// 1024 x 600 at 1x and a large one of 2560 x 1440 at 2x.
#include <QGuiApplication>
#include <QScreen>

namespace quenlet::testing {

inline QScreen* ScreenNamed(const char* name) {
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen->name() == QLatin1String(name)) return screen;
  }
  return nullptr;
}
inline QScreen* SmallScreen() {
  return ScreenNamed("1-small");
}
inline QScreen* LargeScreen() {
  return ScreenNamed("2-large");
}

}  // namespace quenlet::testing
