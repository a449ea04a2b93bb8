// The load pipeline's whole decision on arbitrary text: detection, reading,
// the byte formats and the placement by data-set mode. The first byte picks
// the format and the mode. A load that fails must leave the buffer as it was.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "buffer/data_buffer.h"
#include "buffer/format_detect.h"
#include "buffer/intel_hex.h"
#include "buffer/load_pipeline.h"
#include "buffer/motorola_srec.h"
#include "buffer/tektronix_hex.h"
#include "fuzz_support.h"
#include "platform/user_interfaces.h"

namespace {

// Texts whose image would pass the small limit are not loaded: the real
// limit is the largest buffer, and fuzzing is not about filling memory.
bool ImageStaysSmall(std::string_view text) {
  using namespace quenlet;
  NullProgress progress;
  for (auto* read : {&ReadIntelHex, &ReadMotorolaS, &ReadTektronixHex}) {
    const HexReadResult r = read(text, 0, progress, fuzz::kImageLimit);
    if (!r.ok() && r.failure->reason.find("beyond the largest buffer") != std::string::npos) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  if (size < 1) return 0;
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (!ImageStaysSmall(text)) return 0;
  static const int32_t kModes[] = {0, 1, 2, 3, 4, 5, 6, 7, 31, 32, 34, 99};
  LoadRequest request;
  request.format = data[0] & 7;
  request.fill = data[0];
  request.fill_unused = (data[0] & 0x80) != 0;
  request.dest = (data[0] & 0x40) ? 0x1234 : 0;
  request.name = "fuzz";
  DataBuffer buffer;
  buffer.SetDataMode(kModes[(data[0] >> 3) % 12]);
  fuzz::SilentMessages messages;
  NullProgress progress;
  const std::vector<uint8_t> before(buffer.Block().begin(), buffer.Block().end());
  const uint32_t size_before = buffer.BufSize();
  const LoadOutcome outcome = LoadTextIntoBuffer(buffer, text, request, messages, progress);
  if (!outcome.loaded) {
    fuzz::Check(buffer.BufSize() == size_before, "failed load keeps the size");
    fuzz::Check(std::memcmp(before.data(), buffer.Block().data(), before.size()) == 0,
                "failed load keeps the bytes");
    return 0;
  }
  fuzz::Check(outcome.placed > 0, "a load places bytes");
  fuzz::Check(static_cast<uint64_t>(buffer.FileSize()) <= buffer.BufSize(), "file within buffer");
  return 0;
}
