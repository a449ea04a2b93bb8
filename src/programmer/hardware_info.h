#pragma once
// The hardware window's information page and the pin-contact scan of the
// main window: both reconnect to the unit first.
#include <string>

#include "programmer/programmer_link.h"

namespace quenlet {

// The five information labels of the hardware window.
struct HardwareInfoLabels {
  static constexpr const char* kInitial = " Not Available";  // before the first fill
  static constexpr const char* kNotAvailable = "Not Available";

  std::string name = kInitial;
  std::string type = kInitial;
  std::string serial = kInitial;
  std::string version = kInitial;
  std::string state = kInitial;
};

// Reconnects. No unit: the SRAM buttons off and every label "Not
// Available". Otherwise the SRAM buttons on and, when the identification
// reply arrives whole, the labels from it (a failed reply leaves them).
void ShowHardwareInfo(ProgrammerLink& link, HardwareInfoLabels& labels);

// The pin-contact scan with the current device: reconnect (no unit: SRAM
// buttons off and StepFail), algorithm, parameter block, default driver,
// parameter block again, then the scan. Returns the scan's result code
// (PinContactResult), which nobody shows; kPinTransferFailed when a step
// before it failed.
int Pin_scanClick(ProgrammerLink& link);

}  // namespace quenlet
