#include "buffer/dos_exe.h"

namespace quenlet {

std::optional<std::span<const uint8_t>> DosExeImage(std::span<const uint8_t> range) {
  if (range.size() < kDosExeHeaderSize) return std::nullopt;
  return range.subspan(kDosExeHeaderSize);
}

}  // namespace quenlet
