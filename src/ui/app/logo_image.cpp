#include "ui/app/logo_image.h"

#include <cstdint>

namespace quenlet {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
// Compressions whose rows are stored whole: none, and the bit-field masks.
constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

uint32_t Le(const std::string& b, size_t at, size_t bytes) {
  uint32_t v = 0;
  for (size_t i = 0; i < bytes; ++i) v |= uint32_t{static_cast<uint8_t>(b[at + i])} << (8 * i);
  return v;
}

// Whether the bytes hold every pixel row the headers claim. Run-length
// compressed pictures have no fixed length; Qt stops at their end.
bool HoldsItsPixels(const std::string& b) {
  if (b.size() < kFileHeaderSize + kCoreHeaderSize || b[0] != 'B' || b[1] != 'M') return false;
  const uint64_t pixels_at = Le(b, 10, 4);
  const uint32_t header = Le(b, 14, 4);
  int64_t width = 0;
  int64_t height = 0;
  uint32_t bits = 0;
  uint32_t compression = kRgb;
  if (header == kCoreHeaderSize) {
    width = Le(b, 18, 2);
    height = Le(b, 20, 2);
    bits = Le(b, 24, 2);
  } else if (header >= kInfoHeaderSize && b.size() >= kFileHeaderSize + kInfoHeaderSize) {
    width = static_cast<int32_t>(Le(b, 18, 4));
    height = static_cast<int32_t>(Le(b, 22, 4));
    bits = Le(b, 28, 2);
    compression = Le(b, 30, 4);
  } else {
    return false;
  }
  if (width <= 0 || height == 0 || bits == 0 || bits > 32) return false;
  if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields) {
    return true;
  }
  const uint64_t row = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
  return pixels_at <= b.size() && rows <= (b.size() - pixels_at) / row;
}

}  // namespace

QImage DecodeLogoBitmap(const std::string& bitmap) {
  if (!HoldsItsPixels(bitmap)) return {};
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(bitmap.data()),
                          static_cast<int>(bitmap.size()), "BMP")) {
    return {};
  }
  if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
      image.format() == QImage::Format_MonoLSB) {
    QList<QRgb> table = image.colorTable();
    const int full = 1 << image.depth();
    while (table.size() < full) table.push_back(qRgb(0, 0, 0));
    image.setColorTable(table);
  }
  return image;
}

}  // namespace quenlet
