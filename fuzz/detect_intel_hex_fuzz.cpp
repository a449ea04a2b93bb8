// The Intel HEX detector on arbitrary text, and its reader on what it accepts.
#include <cstddef>
#include <cstdint>

#include "buffer/intel_hex.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return quenlet::fuzz::DetectThenRead(data, size, quenlet::DetectIntelHex, quenlet::ReadIntelHex);
}
