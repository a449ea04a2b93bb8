#pragma once
// Screenshots of the windows' main states, for a person to look at:
// build/screenshots/<name>.png.
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace quenlet::testing {

inline QString ScreenshotDir() {
  const QString dir = QStringLiteral(QUENLET_SCREENSHOT_DIR);
  QDir().mkpath(dir);
  return dir;
}

// Writes the image as <name>.png; returns the path.
inline QString SaveScreenshot(const QImage& image, const QString& name) {
  const QString path = ScreenshotDir() + "/" + name + ".png";
  image.save(path);
  return path;
}

// Renders the widget offscreen into <name>.png; true when the file was written.
inline bool SaveScreenshot(QWidget& widget, const QString& name) {
  return widget.grab().save(ScreenshotDir() + "/" + name + ".png");
}

}  // namespace quenlet::testing
