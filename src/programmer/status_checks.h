#pragma once
// Checks that read the programmer's status block: the run status with its
// messages, the pin-contact scan and the chip ID check.
#include "programmer/programmer_link.h"

namespace quenlet {

// Reads the status block and shows at most one message for each of bytes 0
// and 1 (single-bit values only), each after StepFail; then "Run Fail" when
// either byte is non-zero. A failed status request counts as non-zero.
// 1 = status clean, 0 = not.
int CheckRunStatus(ProgrammerLink& link);

// Results of PinContactCheck.
enum PinContactResult : int {
  kPinTransferFailed = 0,
  kPinsAsExpected = 1,
  kPinMismatch = 2,
  kNoPinInContact = 3,
};

// Mode 0: no transfer, result 1. Otherwise prepares and runs the pin-contact
// scan and compares socket pin n's contact flag with PinMap entry n - 1.
int PinContactCheck(ProgrammerLink& link, int mode);

// Mode 0: true, nothing sent. No expected ID code set: true, nothing sent.
// Otherwise sends the parameter block with the ID voltages; mode 1 then reads
// the chip's codes and compares each expected code that is set (non-zero).
// True when they match; the operation voltages are put back then. Other
// modes leave the ID voltages in the block and give true.
bool CheckChipId(ProgrammerLink& link, int mode);

}  // namespace quenlet
