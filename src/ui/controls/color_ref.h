#pragma once
// Colours as the device files and the old window layouts give them: Windows
// colour values with red in the low byte (0x00FFFF is yellow, 255 is red).
#include <QColor>
#include <cstdint>

namespace quenlet {

inline QColor FromColorRef(uint32_t value) {
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline uint32_t ToColorRef(const QColor& color) {
  return static_cast<uint32_t>(color.red()) | (static_cast<uint32_t>(color.green()) << 8) |
         (static_cast<uint32_t>(color.blue()) << 16);
}

}  // namespace quenlet
