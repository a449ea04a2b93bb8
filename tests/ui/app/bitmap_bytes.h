#pragma once
// Windows bitmap files written byte by byte, for pictures that a damaged or
// hand-made logo file holds.
#include <cstdint>
#include <string>

namespace quenlet::testing {

inline void PutLe(std::string& b, size_t at, uint32_t v, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// An uncompressed bitmap: file and information headers, `colours` palette
// entries (grey levels), then `pixels` as they stand (rows of `bits` per
// pixel, each padded to 4 bytes, bottom row first when `height` > 0).
inline std::string Bitmap(int32_t width, int32_t height, uint16_t bits, uint32_t colours,
                          const std::string& pixels) {
  std::string b(54, '\0');
  const uint32_t pixels_at = 54 + 4 * colours;
  b[0] = 'B';
  b[1] = 'M';
  PutLe(b, 2, pixels_at + static_cast<uint32_t>(pixels.size()), 4);
  PutLe(b, 10, pixels_at, 4);
  PutLe(b, 14, 40, 4);
  PutLe(b, 18, static_cast<uint32_t>(width), 4);
  PutLe(b, 22, static_cast<uint32_t>(height), 4);
  PutLe(b, 26, 1, 2);
  PutLe(b, 28, bits, 2);
  PutLe(b, 46, colours, 4);
  for (uint32_t c = 0; c < colours; ++c) {
    const char grey = static_cast<char>(0x40 * (c + 1));
    b += std::string{grey, grey, grey, '\0'};
  }
  return b + pixels;
}

// The bitmap as a logo file stores it: its first 54 bytes at the end.
inline std::string LogoFile(const std::string& bitmap) {
  return bitmap.substr(54) + bitmap.substr(0, 54);
}

}  // namespace quenlet::testing
