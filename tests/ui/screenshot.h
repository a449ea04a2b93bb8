#pragma once
// Screenshots of the windows' main states, written beside the build's tests
// (build/screenshots/ for build/tests/quenlet_tests_ui) for a person to look at.
#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace quenlet::testing {

inline QString ScreenshotDir() {
  QDir dir(QCoreApplication::applicationDirPath());
  dir.cdUp();
  dir.mkpath("screenshots");
  return dir.filePath("screenshots");
}

// Renders the widget offscreen into <name>.png; true when the file was written.
inline bool SaveScreenshot(QWidget& widget, const QString& name) {
  return widget.grab().save(ScreenshotDir() + "/" + name + ".png");
}

}  // namespace quenlet::testing
