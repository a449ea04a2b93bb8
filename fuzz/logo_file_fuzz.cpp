// A logo file on arbitrary bytes, through the reader that restores its
// bitmap and the decoder the windows show it with, then scaled as the
// toolbar scales it: a decoded indexed picture has a colour for every index
// its pixels can hold, so no pixel reads past the colour table.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <QImage>

#include "app/logo_file.h"
#include "fuzz_support.h"
#include "ui/app/logo_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  const std::optional<std::string> bitmap =
      RestoreLogoBytes({reinterpret_cast<const char*>(data), size});
  fuzz::Check(bitmap.has_value() == (size >= kLogoHeaderSize), "a bitmap from every whole header");
  if (!bitmap) return 0;
  const QImage image = DecodeLogoBitmap(*bitmap);
  if (image.isNull()) return 0;
  if (image.depth() <= 8) {
    fuzz::Check(image.colorCount() >= (1 << image.depth()), "a full colour table");
  }
  // The toolbar's logo field, and a picture of its own size.
  image.scaled(96, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation).bits();
  image.convertToFormat(QImage::Format_ARGB32).bits();
  return 0;
}
