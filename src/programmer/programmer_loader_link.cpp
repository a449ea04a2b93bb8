#include "programmer/programmer_loader_link.h"

#include "programmer/uploads.h"

namespace quenlet {

bool ProgrammerLoaderLink::SendDriverFile(MainFormState& /*state*/, const std::string& name) {
  return quenlet::SendDriverFile(link_, name);
}

void ProgrammerLoaderLink::LoadDeviceAlgorithm(MainFormState& /*state*/,
                                               const std::string& fpga_file,
                                               const std::string& user_wav,
                                               const std::string& pin_scan_drv,
                                               const std::string& pin_scan_fpga) {
  quenlet::LoadDeviceAlgorithm(link_, fpga_file, user_wav, pin_scan_drv, pin_scan_fpga);
}

}  // namespace quenlet
