// The POF detector and the bit-reversed move of the device's bytes: never
// past the text, whatever offset and device size.
#include <cstddef>
#include <cstdint>
#include <string>

#include "buffer/pof_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  if (size < 4) return 0;
  const uint32_t device_size = static_cast<uint32_t>(data[0] | data[1] << 8 | data[2] << 16);
  std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);
  const size_t offset = DetectPof(text);
  fuzz::Check(offset == 0 || (offset >= 8 && offset + 8 <= text.size()), "data offset in range");
  const size_t moved =
      PofToImage(std::span<uint8_t>(reinterpret_cast<uint8_t*>(text.data()), text.size()),
                 offset ? offset : data[3], device_size);
  fuzz::Check(moved <= text.size(), "moved within the text");
  return 0;
}
