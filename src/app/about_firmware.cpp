#include "app/about_firmware.h"

#include "app/application.h"
#include "programmer/hardware_info.h"
#include "programmer/protocol.h"
#include "programmer/transport.h"

namespace quenlet {

std::string AboutBoxFirmware(Application& app) {
  std::string firmware = HardwareInfoLabels::kNotAvailable;
  Transport& transport = app.transport();
  transport.CloseProgrammer();
  if (transport.OpenProgrammer(kProgrammerProductId)) {
    HardwareInfoReply reply;
    if (ReadHardwareInfo(transport, reply)) firmware = reply.FirmwareVersion();
  }
  app.loader().LoadIcParameters(0, 0, 0);
  return firmware;
}

}  // namespace quenlet
