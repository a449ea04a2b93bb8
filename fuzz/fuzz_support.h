#pragma once
// Small helpers of the fuzz targets.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "buffer/format_detect.h"
#include "buffer/hex_text.h"
#include "platform/user_interfaces.h"

namespace quenlet::fuzz {

// Images of the fuzz inputs stay small: the limit logic is what is fuzzed,
// not the machine's memory.
inline constexpr uint64_t kImageLimit = 1 << 20;

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

inline void Check(bool condition, const char* what) {
  if (!condition) Fail(what);
}

// What every reader promises: a failure names a line of the text; a success
// covers addresses 0 .. LastAddress within the limit.
inline void CheckResult(const HexReadResult& r, std::string_view text, uint64_t limit) {
  if (!r.ok()) {
    size_t lines = 1;
    for (char c : text) lines += c == '\n';
    Check(r.failure->line >= 1 && r.failure->line <= lines, "failure line within the text");
    Check(!r.failure->reason.empty(), "failure has a reason");
    return;
  }
  Check(r.image.Bytes().size() <= limit, "image within the limit");
  Check(r.image.HasData() == !r.image.Bytes().empty(), "data flag agrees with the image");
  if (r.image.HasData()) Check(r.image.LastAddress() + 1 == r.image.Bytes().size(), "last address");
}

// A hex detector on arbitrary text: the shape test stays within the hex
// format codes, and whatever the detector accepts its reader reads without
// fault.
using HexDetector = bool (*)(std::string_view);
using HexReader = HexReadResult (*)(std::string_view, uint8_t, Progress&, uint64_t);
inline int DetectThenRead(const uint8_t* data, size_t size, HexDetector detect, HexReader read) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int32_t shape = HexFormatByShape(text);
  Check(shape == 0 || shape == kLoadIntelHex || shape == kLoadMotorola || shape == kLoadTektronix,
        "shape gives a hex format or none");
  if (detect(text)) {
    NullProgress progress;
    CheckResult(read(text, 0, progress, kImageLimit), text, kImageLimit);
  }
  return 0;
}

}  // namespace quenlet::fuzz
