#pragma once
// Window tests leave PNGs of what they show in the build's screenshots/
// folder, so anyone can look at the windows without a display.
#include <QDir>
#include <QImage>
#include <QString>

namespace quenlet::testing {

inline QString SaveScreenshot(const QImage& image, const QString& name) {
  const QString dir = QStringLiteral(QUENLET_SCREENSHOT_DIR);
  QDir().mkpath(dir);
  const QString path = dir + "/" + name + ".png";
  image.save(path);
  return path;
}

}  // namespace quenlet::testing
