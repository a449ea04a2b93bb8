#pragma once
// Hex texts whose data lies high: `bytes` counting bytes (the low byte of
// each offset) from `address` on, as Intel HEX under extended linear address
// records or as S3 records.
#include <cstdint>
#include <cstdio>
#include <string>

namespace quenlet::testing {

inline std::string IntelRecord(uint8_t count, uint16_t offset, uint8_t type, const uint8_t* data) {
  char out[2 * (5 + 255) + 4];
  unsigned sum = count + (offset >> 8) + (offset & 0xFF) + type;
  int n = std::snprintf(out, sizeof out, ":%02X%04X%02X", count, offset, type);
  for (int k = 0; k < count; ++k) {
    n += std::snprintf(out + n, sizeof out - n, "%02X", data[k]);
    sum += data[k];
  }
  std::snprintf(out + n, sizeof out - n, "%02X\r\n", static_cast<uint8_t>(0x100 - (sum & 0xFF)));
  return out;
}

inline std::string HighIntelText(uint32_t address, uint32_t bytes) {
  std::string text;
  uint8_t data[32];
  for (uint32_t a = 0; a < bytes; a += 32) {
    const uint32_t at = address + a;
    if (a == 0 || (at & 0xFFFF) == 0) {
      const uint8_t base[2] = {static_cast<uint8_t>(at >> 24), static_cast<uint8_t>(at >> 16)};
      text += IntelRecord(2, 0, 4, base);
    }
    for (int k = 0; k < 32; ++k) data[k] = static_cast<uint8_t>(a + k);
    text += IntelRecord(32, static_cast<uint16_t>(at & 0xFFFF), 0, data);
  }
  return text + ":00000001FF\r\n";
}

inline std::string HighS3Text(uint32_t address, uint32_t bytes) {
  std::string text = "S00600004844521B\r\n";
  char line[64];
  for (uint32_t a = 0; a < bytes; a += 16) {
    const uint32_t at = address + a;
    unsigned sum = 0x15 + (at >> 24) + ((at >> 16) & 0xFF) + ((at >> 8) & 0xFF) + (at & 0xFF);
    int n = std::snprintf(line, sizeof line, "S315%08X", at);
    for (int k = 0; k < 16; ++k) {
      const uint8_t b = static_cast<uint8_t>(a + k);
      n += std::snprintf(line + n, sizeof line - n, "%02X", b);
      sum += b;
    }
    std::snprintf(line + n, sizeof line - n, "%02X\r\n", static_cast<uint8_t>(~sum));
    text += line;
  }
  return text + "S70500000000FA\r\n";
}

}  // namespace quenlet::testing
