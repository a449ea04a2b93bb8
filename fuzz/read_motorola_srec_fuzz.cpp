// The motorola srec reader on arbitrary text.
#include <cstddef>
#include <cstdint>

#include "buffer/motorola_srec.h"
#include "fuzz_support.h"
#include "platform/user_interfaces.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  NullProgress progress;
  const uint8_t fill = size > 0 ? data[0] : 0xFF;
  const HexReadResult r = ReadMotorolaS(text, fill, progress, fuzz::kImageLimit);
  fuzz::CheckResult(r, text, fuzz::kImageLimit);
  return 0;
}
