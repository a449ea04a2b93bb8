#pragma once
// The programmer's own sum of the data it holds, for devices whose
// programmer keeps the data (Option_Fuse_Type 1): the buffer goes up,
// operation 0x0B sums it inside the programmer and the status block carries
// the 16-bit result. The device dialog's OK, the checksum dialog, the load
// step and the project run all ask for it; each keeps its own reconnect,
// voltages, pictures and what it does afterwards.
#include <cstdint>

#include "programmer/protocol.h"

namespace quenlet {

struct OperationContext;

// Where a held-data sum stopped.
enum class HeldSumResult {
  Done,
  Refused,            // another operation runs: nothing was sent or shown
  UploadFailed,       // the upload has shown its own failure
  RunFailed,          // request 0x49: StepFail, "Error 49! Command Fail"
  StatusUnreadable,   // request 0x42 failed or came back short: StepFail
  StatusNotClean,     // status bytes 0 or 1 not 0: StepFail
  InfoRequestFailed,  // request 0x46: StepFail, "Error 46! Read Command Fail"
  InfoReadFailed,     // the 256-byte read: StepFail, "Error! Data -> VK-KZ 256 Buffer Fail"
};

// Under the operation guard: uploads the buffer, runs operation 0x0B and
// reads the status; on a clean status SumEdit shows the programmer's sum in
// 8 hexadecimal digits, in the window-text colour when it equals
// LastChecksum, else red with LastChecksum taking it. With
// `read_info_block` the programmer's 256-byte option block is then read
// into InfoBlock (left as it was when the read fails). SumEdit is left as
// it was by every failure before the sum.
HeldSumResult RunHeldDataSum(OperationContext& ctx, bool read_info_block);

// RunHeldDataSum, true when it was Done.
bool HeldDataSum(OperationContext& ctx, bool read_info_block);

// --- the pieces the other held-data paths share ---

// Inside a running operation: the buffer upload, request 0x49 with
// `operation` and the status request, with the failures shown as above.
// `status` holds the reply when the result is Done.
HeldSumResult RunProgrammerSum(OperationContext& ctx, uint8_t operation, ProgrammerStatus& status);

// Request 0x46 (0x0E00, 0x0100) and the 256-byte bulk read into InfoBlock,
// which changes only when both succeeded. Shows nothing: returns nullptr,
// or the text of the failed step.
const char* ReadInfoBlock(OperationContext& ctx);

// SumEdit := `sum` in 8 hexadecimal digits, coloured by LastChecksum: equal
// window text, else red and LastChecksum := sum.
void ShowSumAgainstLast(OperationContext& ctx, uint32_t sum);

// CloseProgrammer, then OpenProgrammer(0x0A3D). No unit: the engineering
// panel's SRAM buttons are disabled, StepFail when `step_fail_when_absent`,
// NotConnectedText is shown, false. A unit: the buttons are enabled, true.
bool ReconnectProgrammer(OperationContext& ctx, bool step_fail_when_absent);

}  // namespace quenlet
