#pragma once
// The two programmer calls the IC INI loader makes. The programmer link
// implements them; tests pass a recording fake.
#include <string>

namespace quenlet {

struct MainFormState;

class DeviceLoaderLink {
 public:
  virtual ~DeviceLoaderLink() = default;
  // Identifies the programmer when that has not yet succeeded (setting
  // WrongProgrammer when another model answers) and uploads the driver file
  // found at the program directory followed by `name`. True when the driver
  // went out; false when no unit answered or a transfer failed (the upload
  // has shown why).
  virtual bool SendDriverFile(MainFormState& state, const std::string& name) = 0;
  // Builds the 32 KB algorithm image from the four support files.
  virtual void LoadDeviceAlgorithm(MainFormState& state, const std::string& fpga_file,
                                   const std::string& user_wav, const std::string& pin_scan_drv,
                                   const std::string& pin_scan_fpga) = 0;
};

}  // namespace quenlet
