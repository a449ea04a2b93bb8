#pragma once
// POF files: "POF" within the first 8 bytes, the configuration data starting
// at the first run of eight 0xFF bytes after them, stored with the bit order
// of each byte reversed.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quenlet {

// Offset of the data (at least 8) when the text is POF, else 0.
size_t DetectPof(std::string_view text);

// Moves the device's bytes from the data offset to the start of `range`,
// bit order reversed, and returns how many: the device size, or fewer when
// the file holds fewer (a device size of 0 takes all that the file holds).
size_t PofToImage(std::span<uint8_t> range, size_t data_offset, uint64_t device_size);

}  // namespace quenlet
