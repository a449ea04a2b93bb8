#include "buffer/pof_file.h"

#include "buffer/binary_file.h"

namespace quenlet {

size_t DetectPof(std::string_view text) {
  const std::string_view head = text.substr(0, 8);
  if (head.find("POF") == std::string_view::npos) return 0;
  size_t run = 0;
  for (size_t i = 8; i < text.size(); ++i) {
    run = static_cast<unsigned char>(text[i]) == 0xFF ? run + 1 : 0;
    if (run == 8) return i - 7;
  }
  return 0;
}

size_t PofToImage(std::span<uint8_t> range, size_t data_offset, uint64_t device_size) {
  if (data_offset > range.size()) return 0;
  const uint64_t held = range.size() - data_offset;
  const uint64_t count = device_size == 0 || device_size > held ? held : device_size;
  return MoveDataToStart(range, data_offset + static_cast<size_t>(count), data_offset, true)
      .value_or(0);
}

}  // namespace quenlet
