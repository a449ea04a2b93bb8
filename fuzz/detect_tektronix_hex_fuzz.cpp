// The tektronix hex detector on arbitrary text. Whatever it accepts the
// reader must read without fault, and the shape test must stay in its codes.
#include <cstddef>
#include <cstdint>

#include "buffer/format_detect.h"
#include "buffer/tektronix_hex.h"
#include "fuzz_support.h"
#include "platform/user_interfaces.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int32_t shape = HexFormatByShape(text);
  fuzz::Check(
      shape == 0 || shape == kLoadIntelHex || shape == kLoadMotorola || shape == kLoadTektronix,
      "shape gives a hex format or none");
  if (DetectTektronixHex(text)) {
    NullProgress progress;
    fuzz::CheckResult(ReadTektronixHex(text, 0, progress, fuzz::kImageLimit), text,
                      fuzz::kImageLimit);
  }
  return 0;
}
