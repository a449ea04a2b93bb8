#include "device/ui/device_text.h"

#include <QStringDecoder>

namespace quenlet {
namespace {

bool Decode(QStringDecoder decoder, const std::string& bytes, QString& out) {
  if (!decoder.isValid()) return false;
  out = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return !decoder.hasError();
}

}  // namespace

QString DeviceText(const std::string& bytes) {
  QString text;
  if (Decode(QStringDecoder(QStringDecoder::Utf8), bytes, text)) return text;
  if (Decode(QStringDecoder("Big5"), bytes, text)) return text;
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace quenlet
