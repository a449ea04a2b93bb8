#include "ui/controls/display_text.h"

#include "platform/text_decode.h"

namespace quenlet {

QString DisplayText(std::string_view bytes) {
  return QString::fromStdString(DecodeDeviceText(bytes));
}

}  // namespace quenlet
