#pragma once
// Screenshots of the windows' main states, for a person to look at:
// build/screenshots/<name>.png beside the test executable's folder.
#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QWidget>

namespace quenlet::testing {

inline void SaveScreenshot(QWidget& widget, const QString& name) {
  const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
  QDir().mkpath(dir);
  widget.grab().save(dir + "/" + name + ".png");
}

}  // namespace quenlet::testing
