#pragma once
// The device loader's two programmer calls, carried out by the protocol.
#include "device/device_loader_link.h"
#include "programmer/programmer_link.h"

namespace quenlet {

class ProgrammerLoaderLink : public DeviceLoaderLink {
 public:
  explicit ProgrammerLoaderLink(ProgrammerLink& link) : link_(link) {}

  // `state` is the run state the link was built on.
  bool SendDriverFile(MainFormState& state, const std::string& name) override;
  void LoadDeviceAlgorithm(MainFormState& state, const std::string& fpga_file,
                           const std::string& user_wav, const std::string& pin_scan_drv,
                           const std::string& pin_scan_fpga) override;

 private:
  ProgrammerLink& link_;
};

}  // namespace quenlet
