#pragma once
// Small helpers of the fuzz targets.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "buffer/hex_text.h"

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

}  // namespace quenlet::fuzz
