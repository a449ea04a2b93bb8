// The Tektronix hex detector on arbitrary text, and its reader on what it accepts.
#include <cstddef>
#include <cstdint>

#include "buffer/tektronix_hex.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return quenlet::fuzz::DetectThenRead(data, size, quenlet::DetectTektronixHex,
                                       quenlet::ReadTektronixHex);
}
