#pragma once
// Programming the device from the data buffer (or, for a fuse device, the
// fuse map): the main memory area, and the second memory area that the
// program step runs after it.
namespace quenlet {

struct OperationContext;

// Mode 0 a step picture, 1 a run sequence, 2 a passed or failed picture.
// True when every page was programmed with a clean status. False after the
// failure was shown, or with nothing done when it was refused (another
// operation runs, or the program step's busy flag is set).
bool program_1Click(OperationContext& ctx, int mode);

// The device's second memory area, from the buffer bytes directly behind the
// main area's. Same result rules.
bool ProgramSecondArea(OperationContext& ctx);

}  // namespace quenlet
