#pragma once
// The most memory this process held resident (pages really touched) since a
// mark, from the kernel's own count: the mark resets the peak (clear_refs 5)
// and notes what was resident then.
#include <cstdint>
#include <fstream>
#include <string>

namespace quenlet::testing {

class ResidentPeak {
 public:
  ResidentPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
    base_ = Field("VmRSS:");
  }
  // Bytes above what was resident at the mark; 0 where the kernel does not say.
  uint64_t bytes() const {
    const uint64_t high = Field("VmHWM:");
    return high > base_ ? high - base_ : 0;
  }

 private:
  // A "kB" field of /proc/self/status, in bytes.
  static uint64_t Field(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string key;
    uint64_t value = 0;
    while (status >> key) {
      if (key == name && status >> value) return value * 1024;
      status.ignore(4096, '\n');
    }
    return 0;
  }
  uint64_t base_ = 0;
};

}  // namespace quenlet::testing
