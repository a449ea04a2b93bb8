#pragma once
// "No device chosen yet": the device label's first line (or the stored
// [SelectDlg] Manufacturer) reads "First Setup" or "None". A fresh machine
// stores nothing, which reads as "None". Every guard that asks whether a
// device was chosen goes through this one test.
#include <string_view>

namespace quenlet {

inline constexpr const char* kNoManufacturer = "None";

inline bool NoDeviceChosen(std::string_view manufacturer) {
  return manufacturer == "First Setup" || manufacturer == kNoManufacturer;
}

}  // namespace quenlet
