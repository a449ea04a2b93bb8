#include "ui/platform/qt_document_opener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace quenlet {

bool QtDocumentOpener::Open(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace quenlet
