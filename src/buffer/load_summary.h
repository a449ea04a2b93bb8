#pragma once
// The six values of the summary window after a load.
#include <cstdint>

namespace quenlet {

struct LoadSummary {
  uint32_t file_sum = 0;      // sum of the placed file range
  uint32_t file_start = 0;    // [LoadDlg] SourceSAdd
  uint32_t file_end = 0;      // [LoadDlg] SourceEAdd
  uint32_t device_sum = 0;    // sum of buffer bytes 0 .. IcDeviceSize - 1
  uint32_t device_start = 0;  // always 0
  uint32_t device_end = 0;    // IcDeviceSize - 1
};

}  // namespace quenlet
