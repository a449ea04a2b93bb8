#include "programmer/hardware_info.h"

#include "programmer/protocol.h"
#include "programmer/status_checks.h"
#include "programmer/uploads.h"

namespace quenlet {

void ShowHardwareInfo(ProgrammerLink& link, HardwareInfoLabels& labels) {
  if (!ReconnectUnit(link)) {
    for (std::string* label :
         {&labels.name, &labels.type, &labels.serial, &labels.version, &labels.state}) {
      *label = HardwareInfoLabels::kNotAvailable;
    }
    return;
  }
  HardwareInfoReply reply;
  if (!ReadHardwareInfo(link.transport, reply)) return;
  labels.type = reply.HardwareType();
  labels.serial = reply.SerialNumber();
  labels.version = reply.FirmwareVersion();
  labels.name = reply.ModelName();
  labels.state = reply.StateText();
}

int Pin_scanClick(ProgrammerLink& link) {
  if (!ReconnectUnit(link)) {
    link.step_fail.StepFail();
    return kPinTransferFailed;
  }
  if (!UploadAlgorithm(link) || !SendDeviceParams(link) || !SendDefaultDriverFile(link) ||
      !SendDeviceParams(link)) {
    return kPinTransferFailed;
  }
  return PinContactCheck(link, 1);
}

}  // namespace quenlet
