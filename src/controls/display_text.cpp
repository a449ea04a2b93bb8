#include "controls/display_text.h"

#include <QStringDecoder>

namespace quenlet {

QString DisplayText(std::string_view bytes) {
  const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(view);
  if (!utf8.hasError()) return text;
  QStringDecoder big5("Big5", QStringDecoder::Flag::Stateless);
  if (big5.isValid()) {
    QString decoded = big5.decode(view);
    if (!big5.hasError()) return decoded;
  }
  return QString::fromLatin1(view);
}

}  // namespace quenlet
