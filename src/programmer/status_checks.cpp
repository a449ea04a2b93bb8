#include "programmer/status_checks.h"

#include <array>

#include "programmer/protocol.h"
#include "programmer/uploads.h"

namespace quenlet {
namespace {

// Messages of the single-bit values 0x01 to 0x80 of status bytes 0 and 1.
constexpr std::array<const char*, 8> kOperationErrorTexts = {
    "Reverse",   "Read Fail",   "Erase Fail", "Blank Fail",
    "Prog Fail", "Verify Fail", "Prot Fail",  "Test Fail"};
constexpr std::array<const char*, 8> kSystemErrorTexts = {
    "Run Fail", "Reverse",   "Reverse",   "Over Current Fail",
    "I2C_FAIL", "CPLD_FAIL", "SRAM Fail", "FPGA Fail"};

void ShowSingleBitMessage(ProgrammerLink& link, uint8_t value,
                          const std::array<const char*, 8>& texts) {
  for (int bit = 0; bit < 8; ++bit) {
    if (value == (1u << bit)) {
      link.step_fail.StepFail();
      link.messages.Show(texts[bit]);
      return;
    }
  }
}

bool Fail(ProgrammerLink& link, const char* text) {
  link.step_fail.StepFail();
  link.messages.Show(text);
  return false;
}

}  // namespace

int CheckRunStatus(ProgrammerLink& link) {
  ProgrammerStatus status;
  if (ReadProgrammerStatus(link.transport, status)) {
    ShowSingleBitMessage(link, status.OperationErrors(), kOperationErrorTexts);
    ShowSingleBitMessage(link, status.SystemErrors(), kSystemErrorTexts);
    if (status.Clean()) return 1;
  }
  link.messages.Show("Run Fail");
  return 0;
}

int PinContactCheck(ProgrammerLink& link, int mode) {
  if (mode == 0) return kPinsAsExpected;
  Transport& t = link.transport;
  if (!SendRequest(t, request::kPrepare, kPrepareValue, kPreparePinScanIndex)) {
    link.step_fail.StepFail();
    return kPinTransferFailed;
  }
  if (CheckRunStatus(link) == 0) return kPinTransferFailed;
  ProgrammerStatus status;
  if (!SendRequest(t, request::kRun, kPinScanValue, kPinScanIndex) ||
      !ReadProgrammerStatus(t, status) || !status.Clean()) {
    link.step_fail.StepFail();
    return kPinTransferFailed;
  }

  const bool stray = status.StrayIndication();
  // A device whose second Vcc pin is given as 255 lets stray answers pass.
  const bool stray_mismatch = stray && link.state.VccPinRaw != 255;
  bool any_contact = false;
  bool differs = false;
  for (int pin = 1; pin <= 48; ++pin) {
    const bool contact = status.PinInContact(pin);
    any_contact = any_contact || contact;
    differs = differs || contact != (link.device.PinMap[pin - 1] != 0);
  }
  if (!stray && !any_contact) return kNoPinInContact;
  if (differs || stray_mismatch) return kPinMismatch;
  return kPinsAsExpected;
}

bool CheckChipId(ProgrammerLink& link, int mode) {
  if (mode == 0) return true;
  const auto& expected = link.state.ExpectedIdCodes;
  if (expected[0] == 0 && expected[1] == 0 && expected[2] == 0 && expected[3] == 0) return true;

  DeviceParameterBlock& block = link.device.Block;
  const uint16_t saved_vcc = block.Word(DeviceParameterBlock::kCurrentVcc);
  const uint16_t saved_vpp = block.Word(DeviceParameterBlock::kCurrentVpp);
  const uint16_t saved_vhh = block.Word(DeviceParameterBlock::kCurrentVhh);
  const auto& volts = link.device.OperationVoltages;
  block.SetCurrentVoltages(volts[kIdVcc], volts[kIdVpp], volts[kIdVhh]);
  if (!SendDeviceParams(link)) return false;
  if (mode != 1) return true;

  Transport& t = link.transport;
  if (!RunOperation(t, operation::kReadId)) return Fail(link, "Error 49! Read Fail");
  ProgrammerStatus status;
  if (!ReadProgrammerStatus(t, status)) return Fail(link, "Error 4A! FPGA Initial Fail");
  if (!status.Clean()) return Fail(link, "Error 4A! State Fail");
  if (expected[0] != 0 && expected[0] != status.ManufacturerCode()) {
    return Fail(link, "ID Code Error !");
  }
  if (expected[1] != 0 && expected[1] != status.DeviceCode()) {
    return Fail(link, "Device_Code  Error !  ");
  }
  if (expected[2] != 0 && expected[2] != status.ExtendedCode1()) {
    return Fail(link, "Ext_Code1  Error !  ");
  }
  if (expected[3] != 0 && expected[3] != status.ExtendedCode2()) {
    return Fail(link, "Ext_Code2  Error !  ");
  }
  block.SetCurrentVoltages(saved_vcc, saved_vpp, saved_vhh);
  return true;
}

}  // namespace quenlet
