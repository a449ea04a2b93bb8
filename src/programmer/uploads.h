#pragma once
// What brings the unit into a state where a device operation can run: the
// device parameter block, the device's algorithm image and its driver file.
#include <string>

#include "programmer/programmer_link.h"

namespace quenlet {

// Request 0x47 (0x0B00, 0x0080) and the 128-byte parameter block as it
// stands. Failure: StepFail, false; no message.
bool SendDeviceParams(ProgrammerLink& link);

// Request 0x43 (0, 0x000E), request 0x4C (0x8000, 0x8000) and the 32 KB
// algorithm image. A device without a built image fails with a message and
// sends nothing. Failure: StepFail, false.
bool UploadAlgorithm(ProgrammerLink& link);

// The default driver "39F0x0.drv" of the program directory in four passes,
// each announced with value 0. False when no unit answers ("Please Open your
// USB", no StepFail) or a transfer fails (shown as SendDriverFile shows it).
bool SendDefaultDriverFile(ProgrammerLink& link);

// Called by the device loader at the start of every device load: discards
// the previous device's algorithm image, identifies the unit when that has
// not yet succeeded, and (unless another model answered) uploads the driver
// file at the program directory followed by `name` in four passes 0 to 3.
// True when the driver went out. False when another model answered, when no
// unit answers ("Please Open your USB") or when a transfer failed: then the
// read step's failure pictures, StepFail and one message naming the pass and
// the transfer, and nothing more is sent.
bool SendDriverFile(ProgrammerLink& link, const std::string& name);

// Builds the 32 KB algorithm image from the FPGA file, the pin-scan driver
// (only when at most 8 KB long) and the pin-scan FPGA file; the UserWav file
// plays no part. A file that cannot be opened shows the error display and
// leaves the device without an image.
void LoadDeviceAlgorithm(ProgrammerLink& link, const std::string& fpga_file,
                         const std::string& user_wav, const std::string& pin_scan_drv,
                         const std::string& pin_scan_fpga);

// Closes and opens the unit again: whether one answered. The engineering
// panel's SRAM buttons follow the outcome.
bool ReconnectUnit(ProgrammerLink& link);

// Reconnects; with a unit sends the parameter block and then the default
// driver.
void ReopenAndConfigure(ProgrammerLink& link);

}  // namespace quenlet
