#pragma once
// Where device bytes lie in the data buffer during device operations. The lane
// code (data-set mode of the option pages) fixes offset and width together:
// 0 every byte; 1, 2 the even and odd byte of 16-bit pairs; 3 to 6 the first
// to fourth byte of 32-bit groups. Byte i of device block b is buffer byte
// b * 65536 * width + i * width + offset.
#include <cstdint>

namespace quenlet {

class ByteLane {
 public:
  ByteLane() = default;
  // Codes outside 0..6 mean every byte.
  static ByteLane FromCode(int32_t code);

  int32_t code() const { return code_; }
  uint32_t offset() const { return offset_; }
  uint32_t width() const { return width_; }

  friend bool operator==(const ByteLane&, const ByteLane&) = default;

 private:
  ByteLane(int32_t code, uint32_t offset, uint32_t width)
      : code_(code), offset_(offset), width_(width) {}
  int32_t code_ = 0;
  uint32_t offset_ = 0;
  uint32_t width_ = 1;
};

inline ByteLane ByteLane::FromCode(int32_t code) {
  if (code >= 1 && code <= 2) return ByteLane(code, static_cast<uint32_t>(code - 1), 2);
  if (code >= 3 && code <= 6) return ByteLane(code, static_cast<uint32_t>(code - 3), 4);
  return ByteLane(0, 0, 1);
}

}  // namespace quenlet
