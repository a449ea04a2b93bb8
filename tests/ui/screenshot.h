#pragma once
// Writes a window's picture to the build's screenshots/ folder (offscreen),
// so that anyone can look at the program without a display.
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <string>

namespace quenlet::testing {

inline bool SaveScreenshot(QWidget& window, const std::string& name) {
  QDir().mkpath(QStringLiteral(QUENLET_SCREENSHOTS));
  const QString path =
      QStringLiteral(QUENLET_SCREENSHOTS) + "/" + QString::fromStdString(name) + ".png";
  return window.grab().save(path, "PNG");
}

}  // namespace quenlet::testing
