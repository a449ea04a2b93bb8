// The unit's 512-byte self-test report on arbitrary bytes: it is a report
// exactly when it begins with "Selftest", and each of its 18 lines shows at
// most its own 16 bytes (as text, or as "%02X " values).
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "programmer/self_test.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  std::array<uint8_t, kSelfTestReportRead> report{};
  std::copy_n(data, std::min(size, report.size()), report.begin());
  const auto texts = SelfTestReportTexts(report);
  fuzz::Check(texts.has_value() == (std::memcmp(report.data(), "Selftest", 8) == 0),
              "a report is one that begins with its header");
  if (!texts) return 0;
  for (const std::string& text : *texts) {
    fuzz::Check(text.size() <= 3 * kSelfTestLineSize, "a line shows at most its bytes");
  }
  return 0;
}
